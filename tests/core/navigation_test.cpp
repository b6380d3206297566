#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/linesplit.h"
#include "log/genericstyles.h"
#include "log/navigation.h"
#include "teststyle.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// The lines of a text, 1-based, as the viewer numbers them.
class TText
{
public:
    explicit TText(std::string text) : Bytes(std::move(text))
    {
        LineSplitter lines(Bytes);
        std::string_view line;
        while (lines.Next(line))
            Lines.push_back(line);
    }
    TLineSource Source() const
    {
        return {static_cast<std::int32_t>(Lines.size()),
                [this](std::int32_t n) { return Lines.at(static_cast<std::size_t>(n - 1)); }};
    }

private:
    std::string Bytes;
    std::vector<std::string_view> Lines;
};

// Three days of one session each, an empty line after each day: lines 1-5, 6-10, 11-15.
std::string ThreeDays()
{
    std::string out;
    for (int d = 1; d <= 3; ++d) {
        const std::string day = "0" + std::to_string(d) + "/03 ";
        out += day + "10:00:00 DIAL 2:5020/" + std::to_string(d) + "\n";
        out += day + "10:00:05 CONNECT OUT\n";
        out += day + "10:00:06 ADDR 2:5020/" + std::to_string(d) + "\n";
        out += day + "10:01:00 END 100 200\n";
        out += "\n";
    }
    return out;
}

}  // namespace

// Days and sessions of an analysed log: each step goes to the next start, and stays where
// there is none.
TEST(Navigation, DaysAndSessionsOfTheRecords)
{
    SetProgramStartDate(EncodeDate(2026, 3, 10));
    TTestStyle log;
    TScriptedUserInterface ui;
    ASSERT_TRUE(log.Analyze(ui, {}, ThreeDays()));
    ASSERT_EQ(log.DayCount, 3);
    EXPECT_EQ(PrevDayLine(log, 8), 6);
    EXPECT_EQ(PrevDayLine(log, 6), 1);
    EXPECT_EQ(PrevDayLine(log, 1), 1);
    EXPECT_EQ(NextDayLine(log, 8), 11);
    EXPECT_EQ(NextDayLine(log, 11), 11);
    EXPECT_EQ(PrevDayIndex(log, 11), 1);
    EXPECT_EQ(NextDayIndex(log, 15), -1);
    EXPECT_EQ(PrevSessionLine(log, 8), 7);
    EXPECT_EQ(PrevSessionLine(log, 2), 2);
    EXPECT_EQ(NextSessionLine(log, 8), 12);
    EXPECT_EQ(NextSessionLine(log, 12), 12);
    EXPECT_EQ(NextSessionIndex(log, 6), 1);
    EXPECT_EQ(NextSessionIndex(log, 12), -1);
}

// A log that is only shown is walked by the dates in its lines; a line whose date cannot be read
// does not end a day going forward.
TEST(Navigation, GenericDaysFromTheText)
{
    SetProgramStartDate(EncodeDate(2026, 3, 10));
    TBinkLog bink;
    const TText text("+ 01 Mar 10:00:00 BINK a\n"
                     "  continued\n"
                     "\n"
                     "+ 02 Mar 10:00:00 BINK b\n"
                     "+ 0x Foo broken date\n"
                     "+ 02 Mar 11:00:00 BINK c\n"
                     "+ 03 Mar 10:00:00 BINK d\n");
    const TLineSource t = text.Source();
    EXPECT_EQ(GenericNextDayLine(bink, t, 1), 4);
    EXPECT_EQ(GenericNextDayLine(bink, t, 4), 7);
    EXPECT_EQ(GenericNextDayLine(bink, t, 7), 7);
    EXPECT_EQ(GenericPrevDayLine(bink, t, 7), 6);   // back to the day before: its last line
    EXPECT_EQ(GenericPrevDayLine(bink, t, 4), 2);  // a line without a date ends the way back
    EXPECT_EQ(GenericPrevDayLine(bink, t, 1), 1);
    const TText undated("no\ndates\n");
    EXPECT_EQ(GenericPrevDayLine(bink, undated.Source(), 2), 0);
    EXPECT_EQ(GenericNextDayLine(bink, TText("").Source(), 1), 0);
}

TEST(Navigation, RunsOfAFrontDoorLog)
{
    const TText text("----------  Mon 01 Mar 99, run\n+ 10:00 a\n+ 10:01 b\n----------  Mon 01 Mar 99, run\n"
                     "+ 11:00 c\n");
    const TLineSource t = text.Source();
    EXPECT_EQ(NextRunLine(t, 1), 4);
    EXPECT_EQ(NextRunLine(t, 4), 5);  // no further run: the last line
    EXPECT_EQ(PrevRunLine(t, 5), 4);
    EXPECT_EQ(PrevRunLine(t, 4), 1);
    EXPECT_EQ(PrevRunLine(t, 1), 1);
}

// The mark leaves out the last line, which the mailer may still be writing, and empty lines;
// it is looked for from the end.
TEST(Navigation, AutoNewMark)
{
    EXPECT_EQ(TakeLastStr(TText("03/03 10:01:00 END 1 and more\n\nstill being writ").Source()),
              "03/03 10:01:00 END 1");
    EXPECT_EQ(TakeLastStr(TText("only line").Source()), "only line");
    EXPECT_EQ(TakeLastStr(TText("").Source()), "");
    const TText text("01/03 10:00:00 mark one\nb\n01/03 10:00:00 mark two\nc\n");
    EXPECT_EQ(FindLastStr(text.Source(), "01/03 10:00:00 mark "), 3);
    EXPECT_EQ(FindLastStr(text.Source(), "nowhere"), 1);
}

// The mark read from a file's end only gives the mark of the whole text: a tail that starts
// inside a line, a last line or a run of empty lines longer than what is read first, one line.
TEST(Navigation, AutoNewMarkFromTheEnd)
{
    const std::string big(200000, 'x');
    const std::vector<std::string> texts = {
        "", "only line", "only line\n", "a\r\nb", "\n\n\n",
        std::string(70000, 'a') + "\nmark line\nlast",
        "first mark\n" + big + "\nlast",
        "first mark\n" + std::string(100000, '\n') + "last",
        "early mark\n" + big + "\n" + std::string(300000, '\n'),
        big + "\n" + big};
    for (const std::string& bytes : texts) {
        std::size_t reads = 0;
        const std::string mark = TakeLastStr(bytes.size(), [&](std::uint64_t from, std::size_t n) {
            ++reads;
            return bytes.substr(static_cast<std::size_t>(from), n);
        });
        EXPECT_EQ(mark, TakeLastStr(TText(bytes).Source())) << bytes.size();
        EXPECT_LE(reads, 5u);
    }
}
