#include "dlccommand.h"

#include <ostream>

#include "analysisrun.h"
#include "base/logutils.h"
#include "batchui.h"
#include "log/dlcupdate.h"
#include "optionvalue.h"
#include "recordwriter.h"

using namespace tarvex;

namespace {

void Usage(std::ostream& to)
{
    to << "usage: tarvex-cli dlc --style STYLE [--mailer-path DIR] [--year YYYY] [--brake-version N]\n"
           "          [--drive L=DIR]... [--env NAME=VALUE]... [--auto-new TEXT] [--dlc-left C] [--dlc-right C]\n"
           "          [--dlc-digits N] [--dlc-lead C] [--dlc-backup 0|1] [--dry-run] LOGFILE\n";
}

struct TDlcOptions
{
    TDlcFormat Format;  // the program's defaults: "[", "]", 3 digits, "0", backups on
    bool DryRun = false;
};

TOptionTaken TakeDlcOption(const std::vector<std::string>& args, std::size_t& i, TDlcOptions& o, std::ostream& err)
{
    const std::string& a = args[i];
    auto value = [&](std::string& into) { return TakeOptionValue(args, i, into, "tarvex-cli dlc: ", err); };
    auto oneChar = [&](char& into) {
        std::string v;
        if (!value(v))
            return false;
        if (v.size() != 1) {
            err << "tarvex-cli dlc: " << a << " takes one character, not '" << v << "'\n";
            return false;
        }
        into = v[0];
        return true;
    };
    std::string v;
    if (a == "--dlc-left")
        return oneChar(o.Format.Left) ? TOptionTaken::Taken : TOptionTaken::Error;
    if (a == "--dlc-right")
        return oneChar(o.Format.Right) ? TOptionTaken::Taken : TOptionTaken::Error;
    if (a == "--dlc-lead")
        return oneChar(o.Format.Lead) ? TOptionTaken::Taken : TOptionTaken::Error;
    if (a == "--dlc-digits") {
        if (!value(v))
            return TOptionTaken::Error;
        if (!TryStrToInt(v, o.Format.Digits) || o.Format.Digits < 1 || o.Format.Digits > 9) {
            err << "tarvex-cli dlc: bad number of digits '" << v << "' (1 to 9)\n";
            return TOptionTaken::Error;
        }
        return TOptionTaken::Taken;
    }
    if (a == "--dlc-backup") {
        if (!value(v))
            return TOptionTaken::Error;
        if (v != "0" && v != "1") {
            err << "tarvex-cli dlc: --dlc-backup takes 0 or 1, not '" << v << "'\n";
            return TOptionTaken::Error;
        }
        o.Format.Backup = v == "1";
        return TOptionTaken::Taken;
    }
    if (a == "--dry-run") {
        o.DryRun = true;
        return TOptionTaken::Taken;
    }
    return TOptionTaken::NotOurs;
}

}  // namespace

int RunDlcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TAnalysisOptions o;
    TDlcOptions dlc;
    const TOwnOption takeDlc = [&](const std::vector<std::string>& v, std::size_t& i) {
        return TakeDlcOption(v, i, dlc, err);
    };
    const bool taken = TakeAnalysisArgs(args, o, "dlc", takeDlc, err);
    if (taken && o.Help) {
        Usage(out);
        return 0;
    }
    if (!taken || !AnalysisArgsComplete(o, "dlc", err) || !MailerPathKnown(o, "dlc", err)) {
        Usage(err);
        return 2;
    }

    const bool oldShowDomain = ShowDomain();
    TAnalysisRun run = RunAnalysis(o, err, "dlc");
    SetShowDomain(oldShowDomain);
    if (run.Code == 2)
        return 2;

    long long processed = 0, updated = 0, appended = 0;
    bool writeFailed = false;
    {
        TRecordWriter w(out);
        // As the window: the counters are raised only after a pass that read the whole log.
        if (run.Code == 0) {
            TBatchUserInterface ui(err, false);
            RunDlcUpdate(
                *run.Mailer, ui, dlc.Format, {},
                [&](std::int32_t index, const TDlcOutcome& r) {
                    ++processed;
                    w.Begin("dlc");
                    w.Int(index);
                    w.Text(run.Mailer->Freqs[static_cast<std::size_t>(index)].Freq.Name);
                    switch (r.Kind) {
                    case TDlcOutcome::TKind::Updated:
                    case TDlcOutcome::TKind::Appended:
                        ++(r.Kind == TDlcOutcome::TKind::Updated ? updated : appended);
                        w.Text(r.Kind == TDlcOutcome::TKind::Updated ? "updated" : "appended");
                        w.Text(r.ListPath);
                        w.Int(r.Counter);
                        break;
                    case TDlcOutcome::TKind::NotSent: w.Text("not-sent"); break;
                    case TDlcOutcome::TKind::NotFound: w.Text("not-found"); break;
                    case TDlcOutcome::TKind::NoList:
                        w.Text("no-list");
                        w.Text(r.ListPath);
                        break;
                    case TDlcOutcome::TKind::Message: w.Text(r.Message); break;
                    }
                    w.End();
                    writeFailed = writeFailed || r.WriteFailed;
                },
                dlc.DryRun);
        }
        w.Begin("total");
        w.Int(processed);
        w.Int(updated);
        w.Int(appended);
        w.End();
    }
    return run.Code == 0 && writeFailed ? 1 : run.Code;
}
