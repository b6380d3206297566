#include "analyzecommand.h"

#include <chrono>
#include <cstdio>
#include <ostream>

#include "host/userinterface.h"
#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "styles/logfactory.h"
#include "base/logutils.h"
#include "log/mailerlog.h"
#include "phrasescommand.h"
#include "platform/paths.h"

using namespace tarvex;

namespace {

constexpr const char* kUsage =
    "usage: tarvex-cli analyze --style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain]\n"
    "                          [--brake-version N] [--auto-new TEXT] [--stop-on-error] LOGFILE\n";

// Every question goes to stderr on one line and is answered OK, or Cancel when asked to stop.
class TBatchUserInterface : public IUserInterface
{
public:
    TBatchUserInterface(std::ostream& err, bool stopOnError) : Err(err), StopOnError(stopOnError) {}

    TMsgResult Message(const std::string& text, TMsgKind, TMsgButtons buttons) override
    {
        std::string oneLine = text;
        for (char& c : oneLine)
            if (c == '\n' || c == '\r')
                c = ' ';
        Err << oneLine << '\n';
        return buttons == TMsgButtons::OKCancel && StopOnError ? TMsgResult::Cancel : TMsgResult::OK;
    }
    void SetBusyCursor(bool) override {}

private:
    std::ostream& Err;
    bool StopOnError;
};

struct TOptions {
    int Style = -1;
    std::string MailerPath;
    int Year = 0;
    bool ShowDomain = false;
    bool AutoNew = false;
    std::string AutoNewText;
    bool StopOnError = false;
    std::string LogFile;
};

bool ParseArgs(const std::vector<std::string>& args, TOptions& o, std::ostream& err)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                err << "tarvex-cli analyze: " << a << " needs a value\n" << kUsage;
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string v;
        if (a == "--style") {
            if (!value(v))
                return false;
            o.Style = ParseStyle(v);
            if (o.Style < 0) {
                err << "tarvex-cli analyze: unknown style '" << v << "'\n";
                return false;
            }
        } else if (a == "--mailer-path") {
            if (!value(o.MailerPath))
                return false;
        } else if (a == "--year") {
            if (!value(v))
                return false;
            if (!TryStrToInt(v, o.Year) || o.Year < 1 || o.Year > 9999) {
                err << "tarvex-cli analyze: bad year '" << v << "'\n";
                return false;
            }
        } else if (a == "--brake-version") {
            if (!value(v))
                return false;
            int n = 0;
            if (!TryStrToInt(v, n)) {
                err << "tarvex-cli analyze: bad version '" << v << "'\n";
                return false;
            }
        } else if (a == "--auto-new") {
            if (!value(o.AutoNewText))
                return false;
            o.AutoNew = true;
        } else if (a == "--show-domain") {
            o.ShowDomain = true;
        } else if (a == "--stop-on-error") {
            o.StopOnError = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            err << "tarvex-cli analyze: unknown option '" << a << "'\n" << kUsage;
            return false;
        } else if (o.LogFile.empty()) {
            o.LogFile = a;
        } else {
            err << "tarvex-cli analyze: more than one log file given\n" << kUsage;
            return false;
        }
    }
    if (o.Style < 0 || o.LogFile.empty()) {
        err << kUsage;
        return false;
    }
    return true;
}

void SetYear(int year)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(ProgramStartDate(), y, m, d);
    if (year == 0)
        return;
    if (m == 2 && d == 29 && !IsLeapYear(year))
        d = 28;
    SetProgramStartDate(EncodeDate(year, m, d));
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
    TOptions o;
    if (!ParseArgs(args, o, err))
        return 2;
    if (!StyleHasAnalysis(o.Style)) {
        err << "tarvex-cli analyze: logs of style " << StyleName(o.Style) << " are shown only, not analysed\n";
        return 2;
    }

    // Said before any configuration is read: the log itself is what was asked for.
    if (!FileExists(o.LogFile)) {
        err << "Cannot open log file for analysis\n";
        return 2;
    }

    SetYear(o.Year);
    const bool oldShowDomain = ShowDomain();
    SetShowDomain(o.ShowDomain);
    auto log = CreateLog(o.Style);
    auto& mailer = dynamic_cast<TMailerLog&>(*log);
    mailer.Path = o.LogFile;
    mailer.MailerPath = o.MailerPath;
    mailer.AutoNew = o.AutoNew;
    mailer.LastStr = o.AutoNewText;

    TBatchUserInterface ui(err, o.StopOnError);
    const bool whole = mailer.Analyze(ui, {});
    int code = whole ? 0 : 1;
    if (!mailer.PassStarted) {
        code = 2;
    } else {
        std::string records;
        records.reserve(1 << 16);
        WriteRecords(mailer, records);
        out << records;
    }
    SetShowDomain(oldShowDomain);
    return code;
}
