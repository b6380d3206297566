#include "tmailcommands.h"

#include <ctime>
#include <map>
#include <ostream>

#include "analysisrun.h"
#include "base/logutils.h"
#include "mailercfg/qparser.h"
#include "platform/paths.h"
#include "tmail/history.h"
#include "tmail/traffic.h"

using namespace tarvex;

const char* const kTrafficUsage =
    "traffic --mailer-path DIR [--drive L=DIR]... [--line N]\n"
    "          [--sort unsorted|address|sessions|traffic] [--no-signature]";
const char* const kHistoryUsage = "history --mailer-path DIR [--drive L=DIR]... [--line N]";

namespace {

struct TLineOptions
{
    std::string MailerPath;
    std::map<char, std::string> Drives;
    std::int32_t Line = 1;
    TTrafficSort Sort = TTrafficSort::Unsorted;
    bool Signature = true;
};

// Parses the options of both commands; traffic alone takes --sort and --no-signature.
bool ParseLineOptions(const std::vector<std::string>& args, const std::string& command, TLineOptions& o,
                      std::ostream& err)
{
    const std::string prefix = "tarvex-cli " + command + ": ";
    const bool traffic = command == "traffic";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--mailer-path" || a == "--drive" || a == "--line" || (traffic && a == "--sort");
        if (takesValue && i + 1 >= args.size()) {
            err << prefix << a << " needs a value\n";
            return false;
        }
        if (a == "--mailer-path") {
            o.MailerPath = args[++i];
        } else if (a == "--drive") {
            if (!TakeDriveMapping(args[++i], o.Drives, prefix, err))
                return false;
        } else if (a == "--line") {
            const std::string& v = args[++i];
            if (!TryStrToInt(v, o.Line) || o.Line < 1) {
                err << prefix << "bad line number '" << v << "'\n";
                return false;
            }
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
            else {
                err << prefix << "unknown sort order '" << v << "' (unsorted, address, sessions, traffic)\n";
                return false;
            }
        } else if (traffic && a == "--no-signature") {
            o.Signature = false;
        } else {
            err << prefix << "unknown argument '" << a << "' (usage: tarvex-cli "
                << (traffic ? kTrafficUsage : kHistoryUsage) << ")\n";
            return false;
        }
    }
    if (o.MailerPath.empty()) {
        err << prefix << "--mailer-path is required\n";
        return false;
    }
    return true;
}

// The system directory of the mailer, or false with the configuration parser's message.
bool SysPathOf(const TLineOptions& o, std::string& sysPath, std::ostream& err)
{
    SetDriveMap(o.Drives);
    try {
        sysPath = ReadSysPath(o.MailerPath);
        return true;
    } catch (const EQParserError& e) {
        err << e.what();
        if (e.LineNo != 0)
            err << " (file " << e.FileName << ", line " << e.LineNo << ")";
        err << '\n';
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
    return false;
}

// The options, then the path of the line's file in the mailer's system directory: false (the
// message on err) when the options are wrong or the mailer's configuration cannot be read.
bool LineFilePath(const std::vector<std::string>& args, const std::string& command,
                  std::string (*fileName)(std::int32_t), TLineOptions& o, std::string& path, std::ostream& err)
{
    std::string sysPath;
    if (!ParseLineOptions(args, command, o, err) || !SysPathOf(o, sysPath, err))
        return false;
    path = SysFilePath(sysPath, fileName(o.Line));
    return true;
}

// False, with the message on err, when the line's file could not be loaded.
bool Loaded(TRecordFileResult r, const std::string& command, std::ostream& err)
{
    switch (r) {
    case TRecordFileResult::Ok: return true;
    case TRecordFileResult::CannotOpen: err << "Cannot open " << command << " file\n"; return false;
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
    if (!LineFilePath(args, "traffic", TrafficFileName, o, path, err) ||
        !Loaded(LoadTrafficFile(path, table), "traffic", err))
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
    if (!LineFilePath(args, "history", HistoryFileName, o, path, err) ||
        !Loaded(LoadHistoryFile(path, table), "history", err))
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
