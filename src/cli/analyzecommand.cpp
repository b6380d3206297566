#include "analyzecommand.h"

#include <chrono>
#include <cstdio>
#include <ostream>

#include "analysisrun.h"
#include "phrasescommand.h"
#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "base/logutils.h"

using namespace tarvex;

namespace {

void Usage(std::ostream& err)
{
    err << "usage: tarvex-cli analyze " << kAnalysisOptionsUsage << "\n";
}

std::string AddrText(const std::optional<TFidoAddr>& a) { return a ? a->ToString() : std::string(); }

void WriteRecords(const TMailerLog& log, std::string& o)
{
    auto field = [&o](const auto& v) {
        o += '\t';
        if constexpr (std::is_convertible_v<decltype(v), std::string_view>)
            o += EscapePhrase(std::string(v));
        else
            o += std::to_string(v);
    };
    for (std::int32_t i = 0; i < log.DayCount; ++i) {
        o += "day";
        field(i);
        field(log.Day(i).LineNo);
        field(FormatISODate(log.Day(i).Date));
        o += '\n';
    }
    for (std::int32_t i = 0; i < log.SessCount; ++i) {
        const TSess& s = log.Session(i);
        char flags[3];
        std::snprintf(flags, sizeof flags, "%02x", static_cast<unsigned>(s.Flags));
        o += "session";
        field(i);
        field(s.StartLine);
        field(s.EndLine);
        field(FormatISODateTime(s.StartTime));
        field(FormatISODateTime(s.EndTime));
        field(std::string(flags));
        field(AddrText(s.Addr));
        field(s.System);
        field(s.SysOp);
        field(s.FilesSent);
        field(s.FilesRecd);
        field(s.BytesSent);
        field(s.BytesRecd);
        field(s.CPS);
        o += '\n';
    }
    for (std::int32_t d = 0; d < log.DayCount; ++d)
        for (std::int32_t i = 0; i < log.NodeCount(d); ++i) {
            const TNodeStat& n = log.Node(d, i);
            o += "node";
            field(d);
            field(n.Addr.ToString());
            field(n.Tries);
            field(n.Busy);
            field(n.NoCarrier);
            field(n.OutSess);
            field(n.InSess);
            field(n.BytesSent);
            field(n.BytesRecd);
            field(n.Seconds);
            field(n.CPS);
            o += '\n';
        }
    for (std::size_t i = 0; i < log.Freqs.size(); ++i) {
        const TFreqEntry& e = log.Freqs[i];
        o += "freq";
        field(i);
        field(e.Request);
        field(e.Freq.Name);
        field(e.Freq.Addr.ToString());
        field(e.Freq.Sent ? 1 : 0);
        field(e.Freq.LineNo);
        field(e.Freq.FilePath);
        field(e.Freq.IsNew ? 1 : 0);
        o += '\n';
    }
    o += "total";
    field(log.LinesRead);
    field(log.DayCount);
    field(log.SessCount);
    field(log.Freqs.size());
    o += '\n';
}

}  // namespace

int RunAnalyzeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TAnalysisOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const TOptionTaken t = TakeAnalysisOption(args, i, o, "analyze", err);
        if (t == TOptionTaken::NotOurs)
            err << "tarvex-cli analyze: unknown option '" << args[i] << "'\n";
        if (t != TOptionTaken::Taken) {
            Usage(err);
            return 2;
        }
    }
    if (o.Style < 0 || o.LogFile.empty()) {
        Usage(err);
        return 2;
    }
    const bool oldShowDomain = ShowDomain();
    const TAnalysisRun run = RunAnalysis(o, err, "analyze");
    if (run.Code != 2) {
        std::string records;
        records.reserve(1 << 16);
        WriteRecords(*run.Mailer, records);
        out << records;
    }
    // The command may run in-process (tests): leave the address form as it was.
    SetShowDomain(oldShowDomain);
    return run.Code;
}
