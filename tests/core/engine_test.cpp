#include <gtest/gtest.h>

#include "base/datetime.h"
#include "mailercfg/qparser.h"
#include "teststyle.h"

using namespace tarvex;
using tarvex::testing::Lines;
using tarvex::testing::TTestStyle;

namespace {

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override { SetProgramStartDate(EncodeDate(2026, 3, 1)); }

    bool Run(std::string_view text) { return Log.Analyze(Ui, {}, text); }

    TTestStyle Log;
    TScriptedUserInterface Ui;
};

struct TFakeWindow : ILogWindow {
    void ShowLine(int lineNo) override { Shown.push_back(lineNo); }
    std::vector<int> Shown;
};

}  // namespace

TEST_F(EngineTest, EmptyTextGivesNoDayAndSucceeds)
{
    EXPECT_TRUE(Run(""));
    EXPECT_EQ(Log.DayCount, 0);
    EXPECT_EQ(Log.SessCount, 0);
    EXPECT_EQ(Log.DayAtLine(10), 0);
    EXPECT_FALSE(Ui.Busy);
}

TEST_F(EngineTest, OneDayKeyOpensOneDayAtFirstNonEmptyLine)
{
    EXPECT_TRUE(Run(Lines({"", "", "05/02 10:00:00 hello", "05/02 10:00:01 world", ""})));
    ASSERT_EQ(Log.DayCount, 1);
    EXPECT_EQ(Log.Day(0).LineNo, 3);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(2026, 2, 5));
    EXPECT_EQ(Log.LinesRead, 5);
    EXPECT_EQ(Log.DayAtLine(2), -1);
    EXPECT_EQ(Log.DayAtLine(4), 0);
}

// Every byte of the day key counts, and so does its length at the end of a short line.
TEST_F(EngineTest, AnyByteOfTheDayKeyOpensADay)
{
    EXPECT_TRUE(Run(Lines({"05/02 10:00:00 a", "05/03 10:00:00 b", "05/03 10:00:01 c", "15/03 10:00:00 d",
                           "15-03", "15-03", "15-0", "1"})));
    ASSERT_EQ(Log.DayCount, 4);
    EXPECT_EQ(Log.Day(1).LineNo, 2);
    EXPECT_EQ(Log.Day(2).LineNo, 4);
    EXPECT_EQ(Log.Day(3).LineNo, 5);  // this style reads "15-03" as a date
    // "15-0" and "1" are keys of their own but no dates.
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0], "Invalid date at line 7\n\rContinue processing?");
    EXPECT_EQ(Ui.Transcript[1], "Invalid date at line 8\n\rContinue processing?");
}

TEST_F(EngineTest, BadDateAsksAndKeepsTheDayKey)
{
    // The dashes differ in their key but carry no date: no day, and the key stays, so the
    // next line of the same day opens nothing new.
    const auto text = Lines({"05/02 10:00:00 a", "---------- x", "05/02 10:00:02 b", "06/02 00:00:01 c"});
    EXPECT_TRUE(Run(text));
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Invalid date at line 2\n\rContinue processing?");
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(1).LineNo, 4);

    Ui.AnswerCancel = true;
    Ui.Transcript.clear();
    EXPECT_FALSE(Run(text));
    EXPECT_EQ(Log.DayCount, 1);
    EXPECT_EQ(Log.LinesRead, 2);
}

TEST_F(EngineTest, ParserErrorQuestionOkGoesOnCancelStops)
{
    const auto text = Lines({"05/02 10:00:00 CONNECT OUT", "05/02 10:00:01 ADDR 2:5020/1", "05/02 10:00:02 THROW",
                             "05/02 10:00:03 END 10 20", "05/02 10:00:04 CONNECT IN", "05/02 10:00:05 ADDR x/y"});
    EXPECT_TRUE(Run(text));
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0], "Error analyzing log at line 3:\n\rboom\n\rContinue processing?");
    EXPECT_EQ(Log.SessCount, 1);

    Ui.AnswerCancel = true;
    Ui.Transcript.clear();
    EXPECT_FALSE(Run(text));
    EXPECT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Log.SessCount, 0);  // the session would have closed on line 4
    EXPECT_EQ(Log.CurSess->StartLine, 1);  // what line 1 and 2 made stays
}

TEST_F(EngineTest, AnErrorWithoutTextStillAsks)
{
    struct TSilentThrow : TTestStyle {
        void ParseLine(std::string_view) override { throw std::runtime_error(""); }
    } log;
    ASSERT_TRUE(log.Analyze(Ui, {}, "05/02 10:00:00 a\n"));
    EXPECT_EQ(Ui.Transcript, std::vector<std::string>{"Error analyzing log at line 1:\n\r\n\rContinue processing?"});
}

TEST_F(EngineTest, QuestionsScrollTheWindowToTheirLine)
{
    TFakeWindow w;
    Log.Window = &w;
    Run(Lines({"05/02 10:00:00 a", "05/02 10:00:00 THROW"}));
    EXPECT_EQ(w.Shown, std::vector<int>{2});
}

TEST_F(EngineTest, ClosingTheWindowEndsThePass)
{
    struct TClosingUi : TScriptedUserInterface {
        TLog* Log = nullptr;
        int Calls = 0;
        void KeepAlive() override
        {
            if (++Calls == 3)
                Log->Window = nullptr;
        }
    } ui;
    TFakeWindow w;
    Log.Window = &w;
    ui.Log = &Log;
    EXPECT_FALSE(Log.Analyze(ui, {}, Lines({"05/02 10:00:00 a", "05/02 10:00:00 b", "05/02 10:00:00 c", "x"})));
    EXPECT_EQ(Log.LinesRead, 2);
    EXPECT_TRUE(ui.Transcript.empty());
}

TEST_F(EngineTest, UnclosedSessionIsNotListedButItsDialsCount)
{
    EXPECT_TRUE(Run(Lines({"05/02 10:00:00 DIAL 2:5020/1 BUSY", "05/02 10:01:00 DIAL 2:5020/1 NOCARRIER",
                           "05/02 10:02:00 DIAL 2:5020/1 OK", "05/02 10:02:10 CONNECT OUT"})));
    EXPECT_EQ(Log.SessCount, 0);
    ASSERT_EQ(Log.NodeCount(0), 1);
    const TNodeStat& n = Log.Node(0, 0);
    EXPECT_EQ(n.Tries, 3);
    EXPECT_EQ(n.Busy, 1);
    EXPECT_EQ(n.NoCarrier, 1);
    EXPECT_EQ(n.OutSess, 0);
}

TEST_F(EngineTest, SessionsOfOneNodeAddUpAndListsAreSorted)
{
    EXPECT_TRUE(Run(Lines({
        "05/02 10:00:00 DIAL 2:5020/9 OK", "05/02 10:00:00 CONNECT OUT", "05/02 10:00:01 ADDR 2:5020/9",
        "05/02 10:00:10 END 1000 50",                                              // 10 s out
        "05/02 11:00:00 CONNECT IN", "05/02 11:00:00 ADDR 2:5020/9", "05/02 11:00:20 END 0 4000",  // 20 s in
        "05/02 12:00:00 DIAL 1:1/1 BUSY", "05/02 12:00:01 DIAL ?unknown BUSY",
    })));
    ASSERT_EQ(Log.SessCount, 2);
    EXPECT_EQ(Log.Session(0).CPS, 100);
    EXPECT_EQ(Log.Session(1).CPS, 200);
    EXPECT_EQ(Log.Session(0).Flags, sfOK | sfFirstOfDay);
    EXPECT_EQ(Log.Session(1).Flags, sfOK | sfInbound);
    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).Addr.ToString(), "1:1/1");
    const TNodeStat& n = Log.Node(0, 1);
    EXPECT_EQ(n.OutSess, 1);
    EXPECT_EQ(n.InSess, 1);
    EXPECT_EQ(n.BytesSent, 1000);
    EXPECT_EQ(n.BytesRecd, 4050);
    EXPECT_EQ(n.Seconds, 30);
    EXPECT_EQ(n.CPS, 135);
    EXPECT_EQ(Log.SessionAtLine(3), 0);
    EXPECT_EQ(Log.SessionAtLine(5), 1);
    EXPECT_EQ(Log.SessionAtLine(8), -1);
}

// Node lookups go through an index of the current day: a node of an earlier day is a new
// node on a later one, and counting goes on correctly when the list is changed from outside.
TEST_F(EngineTest, NodesAreCountedPerDayAndAgainAfterOutsideChanges)
{
    EXPECT_TRUE(Run(Lines({"05/02 10:00:00 DIAL 2:5020/1 BUSY", "05/02 10:00:01 DIAL 2:5020/2 BUSY",
                           "05/02 10:00:02 DIAL 2:5020/1 BUSY", "06/02 10:00:00 DIAL 2:5020/2 BUSY",
                           "06/02 10:00:01 DIAL 2:5020/1@other BUSY"})));
    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).Busy, 2);
    EXPECT_EQ(Log.Node(0, 1).Busy, 1);
    ASSERT_EQ(Log.NodeCount(1), 2);
    EXPECT_EQ(Log.Node(1, 0).Addr.ToString(), "2:5020/1");
    EXPECT_EQ(Log.Node(1, 0).Tries, 1);
    EXPECT_EQ(Log.Node(1, 1).Tries, 1);

    // After the pass the lists are sorted: later counting must still find the right record.
    auto& day = Log.DayStats.back();
    std::swap(day[0], day[1]);
    EXPECT_EQ(Log.NodeStat(TFidoAddr::Parse("2:5020/2"), TStatKind::Busy)->Busy, 2);
    EXPECT_EQ(Log.NodeStat(TFidoAddr::Parse("2:5020/1"), TStatKind::Busy)->Busy, 2);
    Log.CountDial(TFidoAddr::Parse("3:1/1"));
    day.pop_back();  // the new node, dropped from outside
    Log.CountDial(TFidoAddr::Parse("3:1/1"));
    ASSERT_EQ(day.size(), 3u);
    EXPECT_EQ(day[2].Tries, 1);
    Log.DayStats.clear();
    EXPECT_EQ(Log.NodeStat(TFidoAddr::Parse("2:5020/1"), TStatKind::Busy), nullptr);
}

TEST_F(EngineTest, NodeListsAreSortedByNumberNotByText)
{
    EXPECT_TRUE(Run(Lines({"05/02 10:00:00 DIAL 2:5020/1.1 BUSY", "05/02 10:00:01 DIAL 10:1/1 BUSY",
                           "05/02 10:00:02 DIAL 2:5020/1 BUSY", "05/02 10:00:03 DIAL 2:50/9 BUSY",
                           "05/02 10:00:04 DIAL 2:5020/1 BUSY", "05/02 10:00:05 DIAL 2:5020/10 BUSY",
                           "05/02 10:00:06 DIAL 65535:0/0 BUSY", "05/02 10:00:07 DIAL 2:5020/2 BUSY"})));
    const char* order[] = {"2:50/9", "2:5020/1", "2:5020/1.1", "2:5020/2", "2:5020/10", "10:1/1", "65535:0/0"};
    ASSERT_EQ(Log.NodeCount(0), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Log.Node(0, i).Addr.ToString(), order[i]) << i;
    EXPECT_EQ(Log.Node(0, 1).Busy, 2);
}

// Past a few dozen nodes a day is looked up through a hash table, which grows as nodes come.
TEST_F(EngineTest, BusyDayCountsEveryNodeOnce)
{
    std::vector<std::string> lines;
    for (int round = 0; round < 3; ++round)
        for (int n = 200; n > 0; --n)
            if (round < 2 || n % 3 == 0)
                lines.push_back("05/02 10:00:00 DIAL 2:" + std::to_string(n % 7) + "/" + std::to_string(n) + " BUSY");
    lines.push_back("06/02 10:00:00 DIAL 2:1/1 BUSY");
    std::string text;
    for (const auto& l : lines)
        text += l + "\n";
    EXPECT_TRUE(Run(text));
    ASSERT_EQ(Log.NodeCount(0), 200);
    for (int i = 0; i < 200; ++i) {
        const TNodeStat& n = Log.Node(0, i);
        EXPECT_EQ(n.Tries, n.Addr.Node % 3 == 0 ? 3 : 2) << n.Addr.ToString();
        if (i > 0) {
            EXPECT_LT(Compare(Log.Node(0, i - 1).Addr, n.Addr), 0);
        }
    }
    ASSERT_EQ(Log.NodeCount(1), 1);
    EXPECT_EQ(Log.Node(1, 0).Tries, 1);
}

TEST_F(EngineTest, SameSecondSessionKeepsZeroRateAndFailedIsNeverOk)
{
    EXPECT_TRUE(Run(Lines({"05/02 10:00:00 CONNECT IN", "05/02 10:00:00 END 500 500", "05/02 10:00:00 CONNECT IN",
                           "05/02 10:00:05 FAIL"})));
    ASSERT_EQ(Log.SessCount, 2);
    EXPECT_EQ(Log.Session(0).CPS, 0);
    EXPECT_EQ(Log.Session(1).Flags & (sfOK | sfFailed), sfFailed);
    EXPECT_EQ(SessDescription(Log.Session(1)), "In FAILED");
}

TEST_F(EngineTest, SecondPassStartsFromEmptyLists)
{
    const auto text = Lines({"05/02 10:00:00 CONNECT IN", "05/02 10:00:00 ADDR 2:5020/1", "05/02 10:00:05 FREQ FILES",
                             "05/02 10:00:09 END 1 1", "06/02 10:00:00 CONNECT OUT"});
    ASSERT_TRUE(Run(text));
    ASSERT_TRUE(Run(text));
    EXPECT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Sessions.size(), 1u);
    EXPECT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.DayStats.size(), 2u);
    EXPECT_EQ(Log.Freqs.size(), 1u);
    EXPECT_EQ(Log.ConfigLoads, 2);
}

TEST_F(EngineTest, AutoNewMarkCountsRequestsBeforeIt)
{
    Log.AutoNew = true;
    Log.LastStr = "05/02 10:00:07 FREQ ";  // first 20 characters of line 5
    const auto text = Lines({"05/02 10:00:00 CONNECT IN", "05/02 10:00:00 ADDR 2:5020/1", "05/02 10:00:05 FREQ A",
                             "05/02 10:00:06 FREQ B", "05/02 10:00:07 FREQ C", "05/02 10:00:08 FREQ D"});
    ASSERT_TRUE(Run(text));
    EXPECT_EQ(Log.MarkLineNo, 5);
    EXPECT_EQ(Log.FirstNewFreq, 2);
    EXPECT_EQ(Log.NewFreqCount, 2);  // C on the mark line itself, and D
    EXPECT_TRUE(Log.PastMark);
}

TEST_F(EngineTest, ConfigErrorsEndThePassWithTheirMessages)
{
    Log.OnLoadConfig = [] { throw EQParserError("Unmatched quotes", "t-mail.ctl", 3); };
    EXPECT_FALSE(Run("05/02 10:00:00 a\n"));
    Log.OnLoadConfig = [] { throw EQParserError("Cannot open file x for parsing"); };
    EXPECT_FALSE(Run("05/02 10:00:00 a\n"));
    Log.OnLoadConfig = [] { throw std::runtime_error("disk on fire"); };
    EXPECT_FALSE(Run("05/02 10:00:00 a\n"));
    ASSERT_EQ(Ui.Transcript.size(), 3u);
    EXPECT_EQ(Ui.Transcript[0], "Error loading config file (file t-mail.ctl, line 3):\n\rUnmatched quotes");
    EXPECT_EQ(Ui.Transcript[1], "Error loading config file:\r\nCannot open file x for parsing");
    EXPECT_EQ(Ui.Transcript[2], "Error loading config file: disk on fire");
    EXPECT_FALSE(Ui.Busy);
}

TEST_F(EngineTest, FileAndBufferGiveTheSameLines)
{
    const std::string text = "05/02 10:00:00 CONNECT IN\r\n\r\n05/02 10:00:10 END 1 1\r\n06/02 01:00:00 x";
    const std::string path = ::testing::TempDir() + "/engine_same.log";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    ASSERT_TRUE(Run(text));
    const auto endLine = Log.Session(0).EndLine;
    const auto day1 = Log.Day(1).LineNo;
    Log.Path = path;
    ASSERT_TRUE(Log.Analyze(Ui, {}));
    EXPECT_EQ(Log.Session(0).EndLine, endLine);
    EXPECT_EQ(endLine, 3);
    EXPECT_EQ(Log.Day(1).LineNo, day1);
    EXPECT_EQ(Log.LinesRead, 4);

    Log.Path = path + ".missing";
    Ui.Transcript.clear();
    EXPECT_FALSE(Log.Analyze(Ui, {}));
    EXPECT_EQ(Ui.Transcript.at(0), "Cannot open log file for analysis");
}

TEST_F(EngineTest, ProgressEveryHundredLines)
{
    std::string text;
    for (int i = 0; i < 250; ++i)
        text += "05/02 10:00:00 x\n";
    std::vector<int> seen;
    ASSERT_TRUE(Log.Analyze(Ui, [&](std::int32_t n) { seen.push_back(n); }, text));
    EXPECT_EQ(seen, (std::vector<int>{100, 200}));
}

TEST_F(EngineTest, MsgIsComparesAtTheMessageColumn)
{
    EXPECT_TRUE(Log.MsgIs("05/02 10:00:00 Busy now", "Busy"));
    EXPECT_FALSE(Log.MsgIs("05/02 10:00:00 busy now", "Busy"));
    EXPECT_TRUE(Log.MsgIs("short", ""));
    EXPECT_FALSE(Log.MsgIs("short", "x"));
    EXPECT_FALSE(Log.MsgIs("05/02 10:00:00 Bu", "Busy"));
}
