#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "arguslog.h"
#include "base/datetime.h"
#include "base/linesplit.h"
#include "binklog.h"
#include "binkphrases.h"
#include "binkstylelog.h"
#include "brakelog.h"
#include "fhmaildir.h"
#include "frontdoorlog.h"
#include "log/logcut.h"
#include "log/mailerlog.h"
#include "platform/filecut.h"
#include "sfmaildir.h"
#include "styles/logfactory.h"
#include "tmaillog.h"
#include "tmailphrases.h"

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

// n lines of exactly `width` bytes each, LF included: "0001 xxxx...\n".
std::string FixedLines(int n, int width)
{
    std::string s;
    for (int i = 1; i <= n; ++i) {
        std::string line = std::to_string(i);
        line.insert(0, 4 - line.size(), '0');
        line.resize(static_cast<std::size_t>(width - 1), 'x');
        s += line + '\n';
    }
    return s;
}

// Lines "DD text": the day of the month is the date; lines starting with '-' are undated.
std::size_t KeptByDays(const std::vector<std::string>& lines, int days)
{
    return FirstKeptLineByDays(
        lines.size(), [&](std::size_t i) { return std::string_view(lines[i]); },
        [&](std::size_t i) {
            const std::string& l = lines[i];
            return l[0] == '-' ? 0.0 : EncodeDate(2026, 1, std::stoi(l.substr(0, 2)));
        },
        days);
}

}  // namespace

TEST(LogCutKBytes, SmallerLogOrNoLimitIsNotCut)
{
    const std::string text = FixedLines(1200, 50);  // 60000 bytes
    EXPECT_FALSE(KeptStartByKBytes(text, CutLimitBytes(100), 127, false));
    EXPECT_FALSE(KeptStartByKBytes(text, CutLimitBytes(0), 127, false));
    EXPECT_FALSE(KeptStartByKBytes(text, CutLimitBytes(-5), 127, false));
    // 60000 bytes is not smaller than 58 KBytes + something: exactly the size is not cut.
    EXPECT_FALSE(KeptStartByKBytes(std::string(2048, 'a'), CutLimitBytes(2), 127, false));
}

TEST(LogCutKBytes, KeepsFromTheFirstLineAfterTheFirstLineFeedInTheWindow)
{
    const std::string text = FixedLines(100, 50);  // 5000 bytes, 1024 from the end is offset 3976
    const auto start = KeptStartByKBytes(text, CutLimitBytes(1), 127, false);
    ASSERT_TRUE(start);
    EXPECT_EQ(*start, 4000u);  // the LF of line 80 ends at 3999
    EXPECT_EQ(text.substr(*start, 4), "0081");
    // A line feed right at the window's first byte: the kept part starts just after it.
    EXPECT_EQ(*KeptStartByKBytes(text, 1000 + 50 * 3 + 1, 127, false), 5000u - 1151u + 1u);
}

TEST(LogCutKBytes, NulStopsOnlyWhenAsked_AndNoLineFeedMeansNoCut)
{
    std::string text(3000, 'a');
    text[3000 - 1024 + 5] = '\0';
    EXPECT_FALSE(KeptStartByKBytes(text, 1024, 127, false));
    EXPECT_EQ(*KeptStartByKBytes(text, 1024, 128, true), 3000u - 1024u + 6u);
    // A line feed just past the window is not looked for: cutting there would split a line.
    text[3000 - 1024 + 5] = 'a';
    text[3000 - 1024 + 127] = '\n';
    EXPECT_FALSE(KeptStartByKBytes(text, 1024, 127, false));
    EXPECT_EQ(*KeptStartByKBytes(text, 1024, 128, false), 3000u - 1024u + 128u);
}

TEST(LogCutKBytes, LargeCutSizesDoNotOverflow)
{
    EXPECT_EQ(CutLimitBytes(4194304), 4294967296ull);
    EXPECT_EQ(CutLimitBytes(2147483647), 2147483647ull * 1024ull);
}

TEST(LogCutDays, KeepsTheLastDatesFromTheFirstNonEmptyLineOfTheOlder)
{
    const std::vector<std::string> lines = {"01 a", "01 b", "02 a", "03 a", "03 b", "", "04 a", "", "05 a", "05 b"};
    // Two dates: 04 and 05; line 6 (index 5) is empty, so the kept part starts at "04 a".
    EXPECT_EQ(KeptByDays(lines, 2), 6u);
    EXPECT_EQ(KeptByDays(lines, 1), 8u);
    EXPECT_EQ(KeptByDays(lines, 4), 2u);
}

TEST(LogCutDays, FewerDatesThanAskedDropsOnlyLeadingEmptyLines)
{
    EXPECT_EQ(KeptByDays({"", "", "01 a", "02 a", "03 a"}, 10), 2u);
    EXPECT_EQ(KeptByDays({"01 a", "02 a", "03 a"}, 3), 0u);
    EXPECT_EQ(KeptByDays({"", ""}, 2), 1u);  // never past the last line
    EXPECT_EQ(KeptByDays({}, 2), 0u);
}

TEST(LogCutDays, FirstLineAloneInItsDateIsDroppedWhenThatDateGoes)
{
    EXPECT_EQ(KeptByDays({"01 a", "02 a", "02 b", "03 a"}, 2), 1u);
}

TEST(LogCutDays, UndatedRunBetweenDatesCountsAsADate)
{
    const std::vector<std::string> lines = {"01 a", "-- x", "-- y", "02 a", "02 b"};
    EXPECT_EQ(KeptByDays(lines, 2), 1u);
    EXPECT_EQ(KeptByDays(lines, 1), 3u);
}

namespace {

// About fifteen days of a generated log of the style, without the damaged and undated lines
// that would count as dates of their own.
std::string FifteenDaysOf(int style)
{
    using namespace tarvex::fixtures;
    constexpr std::size_t kLines = 3000;
    constexpr int kPerDay = 200;
    switch (style) {
    case lsTMail: {
        TMailLogOptions o{.Lines = kLines, .LinesPerDay = kPerDay, .WithSeparators = false};
        return BuildTMailLog(o, TMailPhrases());
    }
    case lsBrake: return BuildBrakeLog({.Lines = kLines, .LinesPerDay = kPerDay, .WithDamagedLines = false});
    case lsBinkPlus:
        return BuildBinkLog({.Lines = kLines, .LinesPerDay = kPerDay, .WithDamagedLines = false}, TBinkPhrases());
    case lsFHMail:
        return BuildFHMailLog({.Lines = kLines, .LinesPerDay = kPerDay, .WithDamagedLines = false}, TFHMailPhrases());
    case lsSFMail:
        return BuildSFMailLog({.Lines = kLines, .LinesPerDay = kPerDay, .WithDamagedLines = false}, TSFMailPhrases());
    case lsArgus: return BuildArgusLog({.Lines = kLines, .LinesPerDay = kPerDay, .WithDamagedLines = false});
    case lsGenericFD: return BuildFrontDoorLog(15, kPerDay, 3);
    default: return BuildBinkStyleLog(kLines * 60, 15, 3);  // Other reads it as one date
    }
}

// The dates of the lines as a reader from the top sees them (the pass, the day list): each
// line's day check, then its date, in order, so that a separator dates the lines below it.
std::vector<TDateTime> DatesFromTheTop(TLog& log, const std::vector<std::string_view>& lines)
{
    auto* mailer = dynamic_cast<TMailerLog*>(&log);
    std::vector<TDateTime> dates;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            dates.push_back(0);  // the pass skips empty lines, and so does the cut
            continue;
        }
        if (mailer) {
            mailer->LineNo = static_cast<std::int32_t>(i + 1);
            try {
                mailer->CheckNewDay(lines[i]);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "line " << i + 1 << ": " << e.what();
            }
        }
        dates.push_back(CutDateOfLine(log, lines[i]));
    }
    return dates;
}

}  // namespace

// Every style's days cut keeps exactly the lines of the last N dates the log holds, whether the
// style dates each line or dates the lines by a separator above them, and whether its log
// object is fresh (the command line) or has just read the log (the window).
TEST(LogCutDays, EveryStyleKeepsTheLastDatesOfItsLog)
{
    SetProgramStartDate(EncodeDate(2026, 6, 15));
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(StyleName(style));
        const std::string text = FifteenDaysOf(style);
        std::vector<std::string_view> lines;
        LineSplitter split(text);
        for (std::string_view line; split.Next(line);)
            lines.push_back(line);
        const auto walked = CreateLog(style);
        const std::vector<TDateTime> dates = DatesFromTheTop(*walked, lines);
        std::vector<std::size_t> runStarts;  // the first line of each run of one date
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (!lines[i].empty() && (runStarts.empty() || dates[i] != dates[runStarts.back()]))
                runStarts.push_back(i);
        ASSERT_GE(runStarts.size(), style == lsOther ? 1u : 14u);
        const auto fresh = CreateLog(style);
        for (TLog* log : {fresh.get(), walked.get()})
            for (const std::int32_t days : {1, 2, 5}) {
                const std::size_t n = static_cast<std::size_t>(days);
                const std::size_t expected = runStarts.size() > n ? runStarts[runStarts.size() - n] : runStarts[0];
                EXPECT_EQ(FirstKeptLineByDays(*log, lines.size(), [&](std::size_t i) { return lines[i]; }, days),
                          expected)
                    << days << " days, " << (log == fresh.get() ? "fresh" : "walked") << " log";
            }
    }
}

// The lines of a separator style take the date of the nearest readable separator above them.
TEST(LogCutDays, SeparatorStylesDateLinesByTheSeparatorAbove)
{
    SetProgramStartDate(EncodeDate(2026, 6, 15));
    const std::string sep = std::string(11, '\xC4') + " ";
    const std::vector<std::string> text = {
        "00:00:01  before any separator",
        sep + "01 Mar 2026 " + std::string(5, '\xC4'), "10:00:00  ( ) a", "",
        sep + "02 Mar 2026", "10:00:00  ( ) b",
        sep + "02 Xyz 2026", "10:00:01  ( ) unreadable separator: still the 2nd",
        sep + "03 Mar 2026", "10:00:00  ( ) c", "10:00:01  ( ) d"};
    const auto log = CreateLog(lsSFMail);
    const auto cut = [&](std::int32_t days) {
        return FirstKeptLineByDays(*log, text.size(), [&](std::size_t i) { return std::string_view(text[i]); }, days);
    };
    EXPECT_EQ(cut(1), 8u);
    EXPECT_EQ(cut(2), 4u);
    EXPECT_EQ(cut(3), 1u);
    EXPECT_EQ(cut(4), 0u);  // the undated line above the first separator is a date of its own
    EXPECT_EQ(cut(5), 0u);
}

class FileCutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device rd;
        Dir = fs::path(::testing::TempDir()) / ("filecut_" + std::to_string(rd()));
        fs::create_directories(Dir);
        Path = (Dir / "t-mail.log").string();
    }
    void TearDown() override { fs::remove_all(Dir); }

    void Write(const std::string& s, bool append = false)
    {
        std::ofstream f(Path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
        f << s;
    }
    std::string Read(const std::string& p) const
    {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }

    fs::path Dir;
    std::string Path;
};

TEST_F(FileCutTest, DropsTheHeadByteForByteAndRemovesTheCopy)
{
    const std::string text = FixedLines(100, 50) + "tail without LF\r\n\x01\xff";
    Write(text);
    std::string err;
    EXPECT_EQ(CutFileHead(Path, 4000, std::string_view(text).substr(4000), &err), TFileCutResult::Cut) << err;
    EXPECT_EQ(Read(Path), text.substr(4000));
    EXPECT_FALSE(fs::exists(CutCopyPath(Path)));
}

TEST_F(FileCutTest, BytesAppendedSinceTheReadAreKept)
{
    const std::string text = FixedLines(100, 50);
    Write(text);
    const std::string seen = text.substr(2500);
    Write("0101 appended by the mailer\n0102 and more\n", true);
    EXPECT_EQ(CutFileHead(Path, 2500, seen), TFileCutResult::Cut);
    EXPECT_EQ(Read(Path), seen + "0101 appended by the mailer\n0102 and more\n");
}

TEST_F(FileCutTest, HugeAppendLargerThanTheDroppedHeadIsKept)
{
    const std::string text = FixedLines(10, 50);
    Write(text);
    const std::string seen = text.substr(100);
    const std::string more = FixedLines(3000, 40);
    Write(more, true);
    EXPECT_EQ(CutFileHead(Path, 100, seen), TFileCutResult::Cut);
    EXPECT_EQ(Read(Path), seen + more);
}

TEST_F(FileCutTest, FileChangedUnderUsIsLeftAlone)
{
    const std::string text = FixedLines(100, 50);
    Write(text);
    const std::string seen = text.substr(1000);
    Write(FixedLines(30, 50));  // the mailer started a new log meanwhile
    std::string err;
    EXPECT_EQ(CutFileHead(Path, 1000, seen, &err), TFileCutResult::Unchanged);
    EXPECT_EQ(Read(Path), FixedLines(30, 50));
    EXPECT_NE(err.find("changed"), std::string::npos);
}

TEST_F(FileCutTest, LeftoverCopyOfAnUnfinishedCutStopsTheNextCut)
{
    const std::string text = FixedLines(20, 50);
    Write(text);
    {
        std::ofstream(CutCopyPath(Path), std::ios::binary) << "kept lines of the interrupted cut\n";
    }
    std::string err;
    EXPECT_EQ(CutFileHead(Path, 100, std::string_view(text).substr(100), &err), TFileCutResult::Unchanged);
    EXPECT_EQ(Read(Path), text);
    EXPECT_EQ(Read(CutCopyPath(Path)), "kept lines of the interrupted cut\n");
    EXPECT_NE(err.find(".cut"), std::string::npos);
}

TEST_F(FileCutTest, NothingToDropOrMissingFile)
{
    Write("abc\n");
    EXPECT_EQ(CutFileHead(Path, 0, "abc\n"), TFileCutResult::Unchanged);
    EXPECT_EQ(Read(Path), "abc\n");
    std::string err;
    EXPECT_EQ(CutFileHead((Dir / "none.log").string(), 2, "", &err), TFileCutResult::Failed);
    EXPECT_FALSE(err.empty());
    EXPECT_FALSE(fs::exists(CutCopyPath((Dir / "none.log").string())));
}
