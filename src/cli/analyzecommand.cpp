#include "analyzecommand.h"

#include <ostream>

#include "analysisrun.h"
#include "recordwriter.h"
#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "base/logutils.h"

using namespace tarvex;

namespace {

void Usage(std::ostream& to)
{
    to << "usage: tarvex-cli analyze " << kAnalysisOptionsUsage << "\n";
}

void WriteRecords(const TMailerLog& log, TRecordWriter& w)
{
    for (std::int32_t i = 0; i < log.DayCount; ++i) {
        w.Begin("day");
        w.Int(i);
        w.Int(log.Day(i).LineNo);
        w.Date(log.Day(i).Date);
        w.End();
    }
    for (std::int32_t i = 0; i < log.SessCount; ++i) {
        const TSess& s = log.Session(i);
        w.Begin("session");
        w.Int(i);
        w.Int(s.StartLine);
        w.Int(s.EndLine);
        w.DateTime(s.StartTime);
        w.DateTime(s.EndTime);
        w.Hex2(s.Flags);
        if (s.Addr)
            w.Addr(*s.Addr);
        else
            w.Text({});
        w.Text(s.System);
        w.Text(s.SysOp);
        w.Int(s.FilesSent);
        w.Int(s.FilesRecd);
        w.Int(s.BytesSent);
        w.Int(s.BytesRecd);
        w.Int(s.CPS);
        w.End();
    }
    for (std::int32_t d = 0; d < log.DayCount; ++d)
        for (std::int32_t i = 0; i < log.NodeCount(d); ++i) {
            const TNodeStat& n = log.Node(d, i);
            w.Begin("node");
            w.Int(d);
            w.Addr(n.Addr);
            w.Int(n.Tries);
            w.Int(n.Busy);
            w.Int(n.NoCarrier);
            w.Int(n.OutSess);
            w.Int(n.InSess);
            w.Int(n.BytesSent);
            w.Int(n.BytesRecd);
            w.Int(n.Seconds);
            w.Int(n.CPS);
            w.End();
        }
    for (std::size_t i = 0; i < log.Freqs.size(); ++i) {
        const TFreqEntry& e = log.Freqs[i];
        w.Begin("freq");
        w.Int(static_cast<std::int64_t>(i));
        w.Text(e.Request);
        w.Text(e.Freq.Name);
        w.Addr(e.Freq.Addr);
        w.Int(e.Freq.Sent ? 1 : 0);
        w.Int(e.Freq.LineNo);
        w.Text(e.Freq.FilePath);
        w.Int(e.Freq.IsNew ? 1 : 0);
        w.End();
    }
    w.Begin("total");
    w.Int(log.LinesRead);
    w.Int(log.DayCount);
    w.Int(log.SessCount);
    w.Int(static_cast<std::int64_t>(log.Freqs.size()));
    w.End();
}

}  // namespace

int RunAnalyzeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TAnalysisOptions o;
    const bool taken = TakeAnalysisArgs(args, o, "analyze", {}, err);
    if (taken && o.Help) {
        Usage(out);
        return 0;
    }
    if (!taken || !AnalysisArgsComplete(o, "analyze", err) || !MailerPathKnown(o, "analyze", err)) {
        Usage(err);
        return 2;
    }
    const bool oldShowDomain = ShowDomain();
    const TAnalysisRun run = RunAnalysis(o, err, "analyze");
    if (run.Code != 2) {
        TRecordWriter w(out);
        WriteRecords(*run.Mailer, w);
    }
    // The command may run in-process (tests): leave the address form as it was.
    SetShowDomain(oldShowDomain);
    return run.Code;
}
