#include "cutcommand.h"

#include <algorithm>
#include <ostream>

#include "cliusage.h"
#include "base/datetime.h"
#include "base/linesplit.h"
#include "base/logutils.h"
#include "log/logcut.h"
#include "platform/filebytes.h"
#include "platform/filecut.h"
#include "styles/logfactory.h"

using namespace tarvex;

namespace {

const char* const kUsage = "usage: tarvex-cli cut (--kbytes N | --days N) [--style STYLE] [--year YYYY] LOGFILE\n";

struct TCutOptions
{
    std::int32_t CutSize = 0;
    std::uint8_t CutMode = 0;  // 0 KBytes, 1 days
    bool SizeGiven = false;
    int Style = -1;
    int Year = 0;
    std::string LogFile;
    bool Help = false;
};

bool Usage(std::ostream& err, const std::string& why)
{
    SayUsageError(err, "cut", why, kUsage);
    return false;
}

bool ParseArgs(const std::vector<std::string>& args, TCutOptions& o, std::ostream& err)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelpArgument(a)) {
            o.Help = true;
            return true;
        }
        const bool takesValue = a == "--kbytes" || a == "--days" || a == "--style" || a == "--year";
        if (takesValue && i + 1 >= args.size())
            return Usage(err, a + " needs a value");
        if (a == "--kbytes" || a == "--days") {
            if (o.SizeGiven)
                return Usage(err, "give one of --kbytes and --days, once");
            int n = 0;
            if (!TryStrToInt(args[++i], n) || n < 1)
                return Usage(err, "bad size '" + args[i] + "' (a whole number from 1)");
            o.CutSize = n;
            o.CutMode = a == "--days" ? 1 : 0;
            o.SizeGiven = true;
        } else if (a == "--style") {
            o.Style = ParseStyle(args[++i]);
            if (o.Style < 0)
                return Usage(err, UnknownStyle(args[i]));
        } else if (a == "--year") {
            if (!TryStrToInt(args[++i], o.Year) || o.Year < 1 || o.Year > 9999)
                return Usage(err, "bad year '" + args[i] + "'");
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return Usage(err, UnknownArgument(a));
        } else if (o.LogFile.empty()) {
            o.LogFile = a;
        } else {
            return Usage(err, "more than one log file given");
        }
    }
    if (!o.SizeGiven)
        return Usage(err, "--kbytes or --days is needed");
    // Without a style every line would be dated today, and a days cut would never cut.
    if (o.CutMode == 1 && o.Style < 0)
        return Usage(err, "--days needs --style, to read the dates of the lines");
    if (o.LogFile.empty())
        return Usage(err, "no log file given");
    return true;
}

void SetYear(int year)
{
    SetYearlessYear(year);
    if (year == 0)
        return;
    int y = 0, m = 0, d = 0;
    DecodeDate(ProgramStartDate(), y, m, d);
    if (m == 2 && d == 29 && !IsLeapYear(year))
        d = 28;
    SetProgramStartDate(EncodeDate(year, m, d));
}

// Where the kept part begins, as a log window opening the log would place it; 0 for no cut.
std::size_t KeptStart(const TCutOptions& o, std::string_view bytes)
{
    if (o.CutMode == 0)
        return KeptStartByKBytes(bytes, CutLimitBytes(o.CutSize), 127, false).value_or(0);
    std::vector<std::size_t> starts;
    LineSplitter split(bytes);
    std::string_view line;
    for (std::size_t at = 0; split.Next(line); at = split.Offset())
        starts.push_back(at);
    const auto log = CreateLog(o.Style);
    const auto lineAt = [&](std::size_t i) {
        std::string_view l = bytes.substr(starts[i], (i + 1 < starts.size() ? starts[i + 1] : bytes.size()) - starts[i]);
        if (!l.empty() && l.back() == '\n')
            l.remove_suffix(l.size() >= 2 && l[l.size() - 2] == '\r' ? 2 : 1);
        return l;
    };
    const std::size_t first = FirstKeptLineByDays(*log, starts.size(), lineAt, o.CutSize);
    return first < starts.size() ? starts[first] : 0;
}

std::uint64_t LineFeeds(std::string_view s) { return static_cast<std::uint64_t>(std::count(s.begin(), s.end(), '\n')); }

}  // namespace

int RunCutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TCutOptions o;
    if (!ParseArgs(args, o, err))
        return 2;
    if (o.Help) {
        out << kUsage;
        return 0;
    }
    std::string error;
    if (UnfinishedCut(o.LogFile, &error)) {
        err << "tarvex-cli cut: " << error << "\n";
        return 2;
    }
    FileBytes file;
    if (!file.Load(o.LogFile, error)) {
        err << "tarvex-cli cut: cannot read " << o.LogFile << ": " << error << "\n";
        return 2;
    }
    SetYear(o.Year);
    const std::string_view bytes = file.Bytes();
    const std::size_t start = KeptStart(o, bytes);

    TFileCutInfo info;
    info.KeptBytes = bytes.size();
    info.KeptLines = LineFeeds(bytes) + (!bytes.empty() && bytes.back() != '\n' ? 1u : 0u);
    std::uint64_t removedLines = 0;
    std::uint64_t removedBytes = 0;
    if (start > 0) {
        const TFileCutResult r = CutFileHead(o.LogFile, start, bytes.substr(start), &error, &info);
        if (r == TFileCutResult::Failed) {
            err << "tarvex-cli cut: " << error << "\n";
            return 2;
        }
        if (r == TFileCutResult::Cut) {
            removedBytes = start;
            removedLines = LineFeeds(bytes.substr(0, start));
        }
        if (!error.empty())
            err << "tarvex-cli cut: " << error << "\n";
        if (r == TFileCutResult::Unchanged && UnfinishedCut(o.LogFile))
            return 2;
    }
    out << "removed " << removedBytes << " bytes in " << removedLines << " lines, kept " << info.KeptBytes
        << " bytes in " << info.KeptLines << " lines\n";
    return 0;
}
