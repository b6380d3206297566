#include "reportcommand.h"

#include <ostream>
#include <span>

#include "analysisrun.h"
#include "base/fidoaddr.h"
#include "report/sesscolumns.h"
#include "reportoptions.h"
#include "batchui.h"

using namespace tarvex;

namespace {

// Report widths that fit each heading and its usual values: "30/12 23:59:20", "Out 2:5020/300.1".
constexpr int kSessFittingWidths[kSessColumnTypes] = {14, 8, 20, 24, 20, 4, 4, 10, 10, 10, 10, 6};

void Usage(std::ostream& err)
{
    err << "usage: tarvex-cli report sessions " << kAnalysisOptionsUsage << "\n          " << kReportOptionsUsage
        << "\n";
}

int RunSessionsReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::string command = "report sessions";
    TAnalysisOptions a;
    TReportCliOptions r;
    for (std::size_t i = 0; i < args.size(); ++i) {
        TOptionTaken t = TakeReportOption(args, i, r, command, err);
        if (t == TOptionTaken::NotOurs)
            t = TakeAnalysisOption(args, i, a, command, err);
        if (t == TOptionTaken::NotOurs)
            err << "tarvex-cli " << command << ": unknown option '" << args[i] << "'\n";
        if (t != TOptionTaken::Taken) {
            Usage(err);
            return 2;
        }
    }
    if (a.Style < 0 || a.LogFile.empty() || r.SettingsFile.empty() != r.LogName.empty()) {
        if (r.SettingsFile.empty() != r.LogName.empty())
            err << "tarvex-cli " << command << ": --settings and --log go together\n";
        Usage(err);
        return 2;
    }
    const TReportView view{SessColumnNames, kSessFittingWidths, ".SessList", SessListDefaultColumns()};
    TSessColumnList columns;
    TReportOptions report;
    if (!PrepareReport<TSess>(r, view, SessColumnFactory(), columns, report, command, err))
        return 2;

    const bool oldShowDomain = ShowDomain();
    const TAnalysisRun run = RunAnalysis(a, err, command);
    int code = run.Code;
    if (code != 2) {
        TBatchUserInterface ui(err, false);
        const std::span<const TSess> sessions(run.Mailer->Sessions.data(),
                                              static_cast<std::size_t>(run.Mailer->SessCount));
        if (!WriteCliReport<TSess>(r, columns, report, sessions, ui, out, err, command))
            code = 2;
    }
    // The command may run in-process (tests): leave the address form as it was.
    SetShowDomain(oldShowDomain);
    return code;
}

}  // namespace

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && args[0] == "sessions")
        return RunSessionsReport(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    if (args.empty())
        err << "tarvex-cli report: which report? (sessions)\n";
    else
        err << "tarvex-cli report: unknown report '" << args[0] << "' (sessions)\n";
    return 2;
}
