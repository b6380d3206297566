// Logs and configurations as later mailer versions write them: Binkley-style times with
// hundredths, Argus dates with four-digit years, environment names in configuration files,
// yearless dates read across New Year, and byte counts past 2 GB.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "arguslog.h"
#include "base/errors.h"
#include "base/linesplit.h"
#include "base/logutils.h"
#include "binkdir.h"
#include "binklog.h"
#include "fhmaildir.h"
#include "log/genericstyles.h"
#include "parsers/arguslog.h"
#include "parsers/binkplog.h"
#include "parsers/fhmaillog.h"
#include "platform/envnames.h"
#include "platform/paths.h"
#include "testdir.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

// Everything a pass keeps, one record a line, so that two passes compare with a readable diff.
std::string RecordsOf(const TMailerLog& log)
{
    std::ostringstream out;
    for (const TNewDay& d : log.Days)
        out << "day " << d.LineNo << ' ' << FormatISODate(d.Date) << '\n';
    for (const TSess& s : log.Sessions)
        out << "sess " << s.StartLine << '-' << s.EndLine << ' ' << FormatISODateTime(s.StartTime) << ' '
            << FormatISODateTime(s.EndTime) << ' ' << (s.Addr ? s.Addr->ToString() : "-") << ' ' << int(s.Flags)
            << " [" << s.System << "] [" << s.SysOp << "] " << s.FilesSent << '/' << s.FilesRecd << ' '
            << s.BytesSent << '/' << s.BytesRecd << ' ' << s.CPS << '\n';
    for (std::int32_t d = 0; d < log.DayCount; ++d)
        for (std::int32_t i = 0; i < log.NodeCount(d); ++i) {
            const TNodeStat& n = log.Node(d, i);
            out << "node " << d << ' ' << n.Addr.ToString() << ' ' << n.Tries << ' ' << n.Busy << ' ' << n.NoCarrier
                << ' ' << n.OutSess << ' ' << n.InSess << ' ' << n.InFailed << ' ' << n.OutFailed << ' ' << n.BytesSent << ' ' << n.BytesRecd << ' '
                << n.Seconds << ' ' << n.CPS << '\n';
        }
    for (const TFreqEntry& f : log.Freqs)
        out << "freq " << f.Freq.LineNo << ' ' << f.Freq.Addr.ToString() << ' ' << f.Freq.Sent << ' ' << f.Freq.Name
            << ' ' << f.Freq.FilePath << '\n';
    return out.str();
}

bool Digit(char c) { return c >= '0' && c <= '9'; }

// Sets or (value null) removes a name of this process's environment.
void SetProcessEnv(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

// Each line in the classic layout given the other layout by change(line); the rest as it is.
template <typename TChange>
std::string Rewritten(const std::string& text, TChange change)
{
    std::string out;
    LineSplitter lines(text);
    std::string_view line;
    std::size_t n = 0;
    while (lines.Next(line)) {
        std::string l(line);
        change(l, n++);
        out += l;
        out += '\n';
    }
    return out;
}

// "+ 01 Mar 12:34:56 BINK msg" -> "+ 01 Mar 12:34:56.hh BINK msg".
void WithHundredths(std::string& l, std::size_t n)
{
    if (l.size() > 17 && l[11] == ':' && l[14] == ':' && l[17] == ' ')
        l.insert(17, "." + std::to_string(10 + n % 90));
}

// "  01 Mar 98 00:00:05 msg" -> "  01-Mar-98 00:00:05 msg", which reads the same and makes the
// date one word, as in the later layout: only then are the message words coloured at all.
bool WithHyphens(std::string& l, std::size_t = 0)
{
    if (l.size() > 11 && l[4] == ' ' && l[8] == ' ' && Digit(l[9]) && Digit(l[10]) && l[11] == ' ') {
        l[4] = '-';
        l[8] = '-';
        return true;
    }
    return false;
}

// "  01 Mar 98 00:00:05 msg" -> "  01-Mar-1998 00:00:05 msg".
void WithFourDigitYear(std::string& l, std::size_t)
{
    if (WithHyphens(l))
        l.insert(9, "19");
}

// The colour of every word of a line, from the first word after the time on, asked in order as
// the viewer asks them.
std::string MessageColours(TLog& log, std::string_view line, int lineNo, int timeCol)
{
    std::string colours;
    bool afterTime = false;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t end = std::min(line.find(' ', i), line.size());
        const auto col = static_cast<int>(i);
        const TColorItem c = log.GetWordColor(line.substr(i, end - i), lineNo, col);
        if (afterTime)
            colours += static_cast<char>('a' + static_cast<int>(c));
        afterTime = afterTime || col == timeCol;
        i = end;
    }
    return colours;
}

// Colours of the message words of each line in both layouts.
template <typename TLogT>
void ExpectSameColours(TLogT& log, const std::string& classic, const std::string& later, int classicTime,
                       int laterTime)
{
    LineSplitter a(classic), b(later);
    std::string_view la, lb;
    int lineNo = 1;
    int compared = 0;
    while (a.Next(la) && b.Next(lb) && lineNo < 3000) {
        if (la == lb)
            continue;  // a damaged line, left in the classic layout
        ASSERT_EQ(MessageColours(log, la, lineNo, classicTime), MessageColours(log, lb, lineNo + 1, laterTime))
            << la << "\n" << lb;
        lineNo += 2;
        ++compared;
    }
    EXPECT_GT(compared, 1000);
}

}  // namespace

// A log written with hundredths, or with four-digit years, gives the records of the same log in
// the classic layout, and its words the same colours.
TEST(LaterLayouts, SameRecordsAndColoursAsTheClassicLayout)
{
    SetProgramStartDate(EncodeDate(2026, 12, 1));
    const tarvex::testing::TTestDir dir("layouts");
    const TBinkDirOptions binkDir;
    WriteBinkDir((dir.Path / "bink").string(), binkDir);
    TFHMailDirOptions fhDir;
    fhDir.OnDrive = false;
    WriteFHMailDir((dir.Path / "fh").string(), fhDir);

    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        TBinkLogOptions bo;
        bo.Lines = 4000;
        bo.Seed = seed;
        const std::string bink = BuildBinkLog(bo, binkDir.Phrases);
        const std::string binkLater = Rewritten(bink, WithHundredths);
        ASSERT_NE(bink, binkLater);
        TBinkPLog a, b;
        a.MailerPath = b.MailerPath = (dir.Path / "bink").string();
        TScriptedUserInterface ui;
        ASSERT_TRUE(a.Analyze(ui, {}, bink));
        ASSERT_TRUE(b.Analyze(ui, {}, binkLater));
        EXPECT_GT(a.SessCount, 100);
        EXPECT_EQ(RecordsOf(a), RecordsOf(b)) << "Bink/+ seed " << seed;
        ExpectSameColours(a, bink, binkLater, 9, 9);
        TBinkLog generic;
        ExpectSameColours(generic, bink, binkLater, 9, 9);

        TFHMailLogOptions fo;
        fo.Lines = 4000;
        fo.Seed = seed;
        fo.StartMonth = 3;
        const std::string fh = BuildFHMailLog(fo, fhDir.Phrases);
        TFHMailLog c, d;
        c.MailerPath = d.MailerPath = (dir.Path / "fh").string();
        ASSERT_TRUE(c.Analyze(ui, {}, fh));
        ASSERT_TRUE(d.Analyze(ui, {}, Rewritten(fh, WithHundredths)));
        EXPECT_GT(c.SessCount, 100);
        EXPECT_EQ(RecordsOf(c), RecordsOf(d)) << "FHMail seed " << seed;
        ExpectSameColours(c, fh, Rewritten(fh, WithHundredths), 9, 9);

        TArgusLogOptions ao;
        ao.Lines = 4000;
        ao.Seed = seed;
        const std::string argus = BuildArgusLog(ao);
        const std::string argusLater = Rewritten(argus, WithFourDigitYear);
        TArgusLog e, f;
        ASSERT_TRUE(e.Analyze(ui, {}, argus));
        ASSERT_TRUE(f.Analyze(ui, {}, argusLater));
        EXPECT_GT(e.SessCount, 100);
        EXPECT_EQ(RecordsOf(e), RecordsOf(f)) << "Argus seed " << seed;
        ExpectSameColours(e, Rewritten(argus, WithHyphens), argusLater, 12, 14);
    }
}

TEST(LaterLayouts, LinesOfEitherLayoutInOneLog)
{
    SetProgramStartDate(EncodeDate(2026, 12, 1));
    TArgusLog argus;
    EXPECT_EQ(argus.DateOfLine("  30-Aug-2003 22:24:31 Encrypted session"), EncodeDate(2003, 8, 30));
    EXPECT_EQ(argus.TimeOfLine("  30-Aug-2003 22:24:31 Encrypted session"),
              EncodeDate(2003, 8, 30) + EncodeTime(22, 24, 31));
    EXPECT_EQ(argus.DateOfLine("  30 Aug 03 22:24:31 Encrypted session"), EncodeDate(1903, 8, 30));
    // The word after the time is the task name in either layout, whatever its length.
    TBinkLog bink;
    EXPECT_EQ(bink.GetWordColor("+", 1, 0), TColorItem::Normal);
    EXPECT_EQ(bink.GetWordColor("12:34:56.78", 1, 9), TColorItem::DateTime);
    EXPECT_EQ(bink.GetWordColor("BINKD", 1, 21), TColorItem::Special);
    EXPECT_EQ(bink.GetWordColor("+", 2, 0), TColorItem::Normal);
    EXPECT_EQ(bink.GetWordColor("12:34:56", 2, 9), TColorItem::DateTime);
    EXPECT_EQ(bink.GetWordColor("x", 2, 21), TColorItem::Normal);
    EXPECT_EQ(BinkColumnsOf("+ 01 Mar 12:34:56.78 BINK Connect").Msg, 26u);
    EXPECT_EQ(BinkColumnsOf("+ 01 Mar 12:34:56 BINK Connect").Msg, 23u);
    EXPECT_EQ(BinkColumnsOf("+ 01 Mar 12:34:56.7").Msg, 23u);  // cut short: not the later layout
}

// An okfile named through %BT% is found through the user's mapping or the environment; the file's
// own Define wins over both; a name nobody defines is told by its name.
TEST(EnvironmentNames, MailerPathsThroughTheSysopsEnvironment)
{
    const tarvex::testing::TTestDir dir("envnames");
    const std::string mailer = (dir.Path / "bink").string();
    WriteBinkDir(mailer, TBinkDirOptions());
    const std::string cfg = mailer + "/binkley.cfg";
    std::string text;
    ASSERT_TRUE(ReadWholeFile(cfg, text));
    const std::size_t at = text.find("OkFile okfile.lst");
    ASSERT_NE(at, std::string::npos);
    auto writeCfg = [&](const std::string& okFileLine) {
        std::ofstream(cfg, std::ios::binary) << text.substr(0, at) << okFileLine << text.substr(at + 17);
    };
    writeCfg("OkFile %BT%\\okfile.lst");
    auto run = [&](std::size_t& aliases) {
        TBinkPLog log;
        log.MailerPath = mailer;
        TScriptedUserInterface ui;
        const bool ok = log.Analyze(ui, {}, "");
        aliases = log.Aliases.size();
        return ok ? std::string() : ui.Transcript.front();
    };
    std::size_t plain = 0, aliases = 0;
    {
        const std::string message = run(aliases);
        EXPECT_NE(message.find("%BT% is not defined: set it under Environment or with --env BT=DIR"),
                  std::string::npos)
            << message;
    }
    SetEnvironmentNames({{"bt", mailer}});
    EXPECT_EQ(run(plain), "");
    EXPECT_GT(plain, 2u);
    SetEnvironmentNames({});
    SetProcessEnv("BT", mailer.c_str());
    EXPECT_EQ(run(aliases), "");
    EXPECT_EQ(aliases, plain);
    SetProcessEnv("BT", nullptr);
    SetEnvironmentNames({{"BT", "/no/such/folder"}});
    writeCfg("Define BT " + mailer + "\r\nOkFile %BT%\\okfile.lst");
    EXPECT_EQ(run(aliases), "");
    EXPECT_EQ(aliases, plain);
    SetEnvironmentNames({});

    std::string s = "50% of %HOME_X%\\%A%";
    SetEnvironmentNames({{"a", "x"}});
    ExpandEnvironmentNames(s);
    EXPECT_EQ(s, "50% of %HOME_X%\\x");
    SetEnvironmentNames({});
}

// A yearless date more than a day after the start date belongs to the year before; a year the
// user gave holds for every date.
TEST(YearlessDates, NewYearAtTheEdges)
{
    SetYearlessYear(0);
    SetProgramStartDate(EncodeDate(2026, 1, 1));
    EXPECT_EQ(YearlessDate(12, 31), EncodeDate(2025, 12, 31));
    EXPECT_EQ(YearlessDate(1, 2), EncodeDate(2026, 1, 2));
    SetProgramStartDate(EncodeDate(2026, 1, 2));
    EXPECT_EQ(YearlessDate(1, 3), EncodeDate(2026, 1, 3));
    EXPECT_EQ(YearlessDate(1, 4), EncodeDate(2025, 1, 4));
    TBinkLog bink;
    EXPECT_EQ(bink.DateOfLine("  31 Dec 23:59:59 BINK  hello"), EncodeDate(2025, 12, 31));
    SetYearlessYear(2026);
    EXPECT_EQ(YearlessDate(12, 31), EncodeDate(2026, 12, 31));
    EXPECT_EQ(bink.DateOfLine("  31 Dec 23:59:59 BINK  hello"), EncodeDate(2026, 12, 31));
    SetYearlessYear(0);
    // A day the year before does not have stays in the start year.
    SetProgramStartDate(EncodeDate(2028, 2, 1));
    EXPECT_EQ(YearlessDate(2, 29), EncodeDate(2028, 2, 29));
}

// Byte counts of 3,000,000,000 in one session, and a node whose day passes 2^31 bytes.
TEST(LargeSums, SessionsAndNodesPast2GB)
{
    SetProgramStartDate(EncodeDate(2026, 12, 1));
    EXPECT_EQ(StrToInt64("3000000000"), 3000000000LL);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_EQ(StrToInt64Grouped("3,000,000,000"), 3000000000LL);

    TArgusLog log;
    const std::string text =
        "  01 Mar 98 10:00:00 Calling 2:5020/52\n"
        "  01 Mar 98 10:00:10 CONNECT 33600\n"
        "  01 Mar 98 10:00:11    Station : Big hub\n"
        "  01 Mar 98 10:00:12    Address : 2:5020/52\n"
        "  01 Mar 98 10:00:13      SysOp : Someone from Somewhere\n"
        "  01 Mar 98 10:00:14 Sending 'BIG.ZIP', (3,000,000,000 bytes)\n"
        "  01 Mar 98 10:30:00 Sent 'BIG.ZIP'\n"
        "  01 Mar 98 10:30:01 Session complete\n"
        "  01 Mar 98 11:00:00 Calling 2:5020/52\n"
        "  01 Mar 98 11:00:10 CONNECT 33600\n"
        "  01 Mar 98 11:00:11    Station : Big hub\n"
        "  01 Mar 98 11:00:12    Address : 2:5020/52\n"
        "  01 Mar 98 11:00:13      SysOp : Someone from Somewhere\n"
        "  01 Mar 98 11:00:14 Sending 'MORE.ZIP', (2,000,000,000 bytes)\n"
        "  01 Mar 98 11:30:00 Sent 'MORE.ZIP'\n"
        "  01 Mar 98 11:30:01 Session complete\n";
    TScriptedUserInterface ui;
    ASSERT_TRUE(log.Analyze(ui, {}, text));
    EXPECT_TRUE(ui.Transcript.empty()) << ui.Transcript.front();
    ASSERT_EQ(log.SessCount, 2);
    EXPECT_EQ(log.Session(0).BytesSent, 3000000000LL);
    EXPECT_EQ(log.Session(0).CPS, 3000000000 / 1791);
    ASSERT_EQ(log.NodeCount(0), 1);
    EXPECT_EQ(log.Node(0, 0).BytesSent, 5000000000LL);
    EXPECT_EQ(log.Node(0, 0).OutSess, 2);
}
