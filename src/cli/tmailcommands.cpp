#include "tmailcommands.h"

#include <ctime>
#include <map>
#include <optional>
#include <ostream>

#include "analysisrun.h"
#include "cliusage.h"
#include "base/logutils.h"
#include "mailercfg/qparser.h"
#include "platform/envnames.h"
#include "platform/paths.h"
#include "tmail/history.h"
#include "tmail/traffic.h"

using namespace tarvex;

const char* const kTrafficUsage =
    "traffic --mailer-path DIR [--drive L=DIR]... [--env NAME=VALUE]... [--line N]\n"
    "          [--sort unsorted|address|sessions|traffic] [--no-signature]";
const char* const kHistoryUsage = "history --mailer-path DIR [--drive L=DIR]... [--env NAME=VALUE]... [--line N]";

namespace {

struct TLineOptions
{
    std::string MailerPath;
    std::map<char, std::string> Drives;
    std::map<std::string, std::string> Environment;
    std::int32_t Line = 1;
    TTrafficSort Sort = TTrafficSort::Unsorted;
    bool Signature = true;
    bool Help = false;
};

std::string UsageOf(const std::string& command)
{
    return std::string("usage: tarvex-cli ") + (command == "traffic" ? kTrafficUsage : kHistoryUsage) + "\n";
}

// Parses the options of both commands; traffic alone takes --sort and --no-signature. A wrong
// argument is told with the command's usage; a request for help stops the parsing with Help set.
bool ParseLineOptions(const std::vector<std::string>& args, const std::string& command, TLineOptions& o,
                      std::ostream& err)
{
    const bool traffic = command == "traffic";
    const auto usageError = [&](const std::string& what) {
        SayUsageError(err, command, what, UsageOf(command));
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelpArgument(a)) {
            o.Help = true;
            return true;
        }
        const bool takesValue =
            a == "--mailer-path" || a == "--drive" || a == "--env" || a == "--line" || (traffic && a == "--sort");
        if (takesValue && i + 1 >= args.size())
            return usageError(a + " needs a value");
        if (a == "--mailer-path") {
            o.MailerPath = args[++i];
        } else if (a == "--drive") {
            const std::string& v = args[++i];
            if (!TakeDriveMapping(v, o.Drives))
                return usageError("bad drive mapping '" + v + "' (LETTER=DIR)");
        } else if (a == "--env") {
            const std::string& v = args[++i];
            if (!TakeEnvironmentName(v, o.Environment))
                return usageError("bad environment name '" + v + "' (NAME=VALUE)");
        } else if (a == "--line") {
            const std::string& v = args[++i];
            if (!TryStrToInt(v, o.Line) || o.Line < 1)
                return usageError("bad line number '" + v + "'");
        } else if (traffic && a == "--sort") {
            const std::string& v = args[++i];
            if (v == "unsorted")
                o.Sort = TTrafficSort::Unsorted;
            else if (v == "address")
                o.Sort = TTrafficSort::Address;
            else if (v == "sessions")
                o.Sort = TTrafficSort::Sessions;
            else if (v == "traffic")
                o.Sort = TTrafficSort::Traffic;
            else
                return usageError("unknown sort order '" + v + "' (unsorted, address, sessions, traffic)");
        } else if (traffic && a == "--no-signature") {
            o.Signature = false;
        } else {
            return usageError(UnknownArgument(a));
        }
    }
    if (o.MailerPath.empty())
        return usageError("--mailer-path is missing");
    return true;
}

// The system directory of the mailer, or false with the configuration parser's message.
bool SysPathOf(const TLineOptions& o, std::string& sysPath, std::ostream& err)
{
    SetDriveMap(o.Drives);
    SetEnvironmentNames(o.Environment);
    try {
        sysPath = ReadSysPath(o.MailerPath);
        return true;
    } catch (const EQParserError& e) {
        err << e.what();
        if (e.LineNo != 0)
            err << " (file " << e.ShownFileName() << ", line " << e.LineNo << ")";
        err << '\n';
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
    return false;
}

// The options, then the path of the line's file in the mailer's system directory. The status
// to end with at once: 0 after the usage asked for (on out), 2 when the options are wrong or
// the mailer's configuration cannot be read (the message on err); nothing when the file is to
// be read.
std::optional<int> LineFilePath(const std::vector<std::string>& args, const std::string& command,
                                std::string (*fileName)(std::int32_t), TLineOptions& o, std::string& path,
                                std::ostream& out, std::ostream& err)
{
    if (!ParseLineOptions(args, command, o, err))
        return 2;
    if (o.Help) {
        out << UsageOf(command);
        return 0;
    }
    std::string sysPath;
    if (!SysPathOf(o, sysPath, err))
        return 2;
    path = SysFilePath(sysPath, fileName(o.Line));
    return std::nullopt;
}

// False, with the message on err, when the line's file could not be loaded. The window's
// message names no file; the command says which one it tried, since --line picks it.
bool Loaded(TRecordFileResult r, const std::string& command, const std::string& path, std::ostream& err)
{
    switch (r) {
    case TRecordFileResult::Ok: return true;
    case TRecordFileResult::CannotOpen:
        err << "Cannot open " << command << " file\n"
            << "tarvex-cli " << command << ": " << path << ": " << WhyUnreadable(path) << "\n";
        return false;
    case TRecordFileResult::NoMemory: err << "Not enough memory!\n"; return false;
    }
    return false;
}

void SayLeftover(std::size_t leftover, std::size_t count, const std::string& command, const std::string& path,
                 std::ostream& err)
{
    TRecordFile f;
    f.Count = count;
    f.LeftoverBytes = leftover;
    if (leftover != 0)
        err << "tarvex-cli " << command << ": " << path << ": " << LeftoverText(f) << '\n';
}

std::string NowText()
{
    const std::time_t now = std::time(nullptr);
    // Standard C, unlike localtime_r, which Windows lacks; the command runs on one thread.
    const std::tm* local = std::localtime(&now);
    char text[64];
    const std::size_t n = local ? std::strftime(text, sizeof text, "%x %X", local) : 0;
    return std::string(text, n);
}

}  // namespace

int RunTrafficCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TLineOptions o;
    std::string path;
    TTrafficTable table;
    if (const auto code = LineFilePath(args, "traffic", TrafficFileName, o, path, out, err))
        return *code;
    if (!Loaded(LoadTrafficFile(path, table), "traffic", path, err))
        return 2;
    SayLeftover(table.LeftoverBytes, table.Entries.size(), "traffic", path, err);
    SortTraffic(table.Entries, o.Sort);
    const std::string now = NowText();
    out << TrafficReport(table.Entries, table.Totals, o.Signature ? &now : nullptr);
    out.flush();
    return 0;
}

int RunHistoryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TLineOptions o;
    std::string path;
    THistoryTable table;
    if (const auto code = LineFilePath(args, "history", HistoryFileName, o, path, out, err))
        return *code;
    if (!Loaded(LoadHistoryFile(path, table), "history", path, err))
        return 2;
    SayLeftover(table.LeftoverBytes, table.Records.size(), "history", path, err);
    std::string text;
    for (int c = 0; c < kHistoryColumns; ++c)
        text += std::string(c ? "\t" : "") + kHistoryHeaders[c];
    text += '\n';
    for (const THistoryRecord& r : table.Records) {
        for (int c = 0; c < kHistoryColumns; ++c)
            text += (c ? "\t" : "") + HistoryCellText(r, c);
        text += '\n';
    }
    out << text;
    out.flush();
    return 0;
}
