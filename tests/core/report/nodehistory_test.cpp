#include <gtest/gtest.h>

#include <sstream>

#include "base/datetime.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "report/nodehistory.h"
#include "reportcommand.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

std::string Text(const TNodeDay& d, int type)
{
    TNHColumn c;
    c.ColType = type;
    std::string t = "stale";
    c.ColumnText(d, t);
    return t;
}

// Three days of 2:5020/7: busy and no carrier, a session that moves bytes each way, a failed
// call-out and a failed call-in; its point 2:5020/7.1 calls once; a human caller on day 1.
class NodeHistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        SetDriveMap({{'C', Scratch.Path.string()}});
        Log.MailerPath = Scratch.Path.string();
        WriteTMailDir(Scratch.Path.string(), {});
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
        W.Dial("2:5020/7", "BUSY");  // day 0
        W.Tick(60);
        W.Dial("2:5020/7", "CONNECT 28800");
        W.Connect(false, "CONNECT 28800");
        W.Address("2:5020/7");
        W.Tick(100);
        W.Traffic(12000, 5000);
        W.Tick(60);
        W.Connect(true);
        W.Human();
        W.Tick(30);
        W.HumanEnd();
        W.NextDay();  // day 1: nothing of the node
        W.At(9, 0, 0);
        W.Connect(true);
        W.Address("2:5030/15");
        W.Tick(10);
        W.Traffic(100, 0);
        W.NextDay();  // day 2
        W.At(8, 0, 0);
        W.Dial("2:5020/7", "NO CARRIER");
        W.Tick(60);
        W.Dial("2:5020/7", "CONNECT 9600");
        W.Connect(false, "CONNECT 9600");
        W.Tick(20);
        W.Failed("no answer to handshake");
        W.Tick(60);
        W.Connect(true);
        W.Address("2:5020/7");
        W.Tick(40);
        W.Failed("remote hung up");
        W.Tick(60);
        W.Connect(true);
        W.Address("2:5020/7.1");
        W.Tick(10);
        W.Traffic(0, 300);
        ASSERT_TRUE(Log.Analyze(Ui, {}, W.Text()));
        ASSERT_EQ(Log.DayCount, 3);
    }
    void TearDown() override { ClearDriveMap(); }

    tarvex::testing::TTestDir Scratch{"nodehistory"};
    TMailLogWriter W{TMailPhrases()};
    TTmailLog Log;
    TScriptedUserInterface Ui;
};

}  // namespace

TEST_F(NodeHistoryTest, DaysOfTheNodeAndTheirSumsAsTheDialStatisticsCountThem)
{
    const auto rows = BuildNodeHistory(Log, TFidoAddr::Parse("2:5020/7"));
    ASSERT_EQ(rows.size(), 3u);  // days 0 and 2, the total
    EXPECT_EQ(rows[0].Day, 0);
    EXPECT_EQ(rows[1].Day, 2);
    EXPECT_EQ(Text(rows[0], nhDate), "05 Feb 26");
    EXPECT_EQ(Text(rows[1], nhDate), "07 Feb 26");
    const TNodeStat& d0 = rows[0].Stat;
    EXPECT_EQ(d0.Tries, 2);
    EXPECT_EQ(d0.Busy, 1);
    EXPECT_EQ(d0.OutSess, 1);
    EXPECT_EQ(d0.BytesSent, 5000);
    EXPECT_EQ(d0.BytesRecd, 12000);
    EXPECT_EQ(Text(rows[0], nhFailed), "0");
    const TNodeStat& d2 = rows[1].Stat;
    EXPECT_EQ(d2.NoCarrier, 1);
    EXPECT_EQ(d2.OutSess, 1);
    EXPECT_EQ(d2.InSess, 1);
    EXPECT_EQ(d2.OutFailed, 1);
    EXPECT_EQ(d2.InFailed, 1);
    EXPECT_EQ(Text(rows[1], nhFailed), "2");

    // The total: sums by hand; its CPS is bytes over seconds of the sums, not a sum of rates.
    const TNodeDay& total = rows.back();
    EXPECT_TRUE(total.IsTotal());
    EXPECT_EQ(Text(total, nhDate), "Total");
    EXPECT_EQ(total.Stat.Tries, 4);
    EXPECT_EQ(total.Stat.Busy, 1);
    EXPECT_EQ(total.Stat.NoCarrier, 1);
    EXPECT_EQ(total.Stat.OutSess, 2);
    EXPECT_EQ(total.Stat.InSess, 1);
    EXPECT_EQ(Text(total, nhFailed), "2");
    EXPECT_EQ(total.Stat.Seconds, d0.Seconds + d2.Seconds);
    EXPECT_EQ(total.Stat.Seconds, 100 + 20 + 40);
    EXPECT_EQ(Text(total, nhTimeOnline), "0:02:40");
    EXPECT_EQ(total.Stat.CPS, 12000 / 160);
    EXPECT_TRUE(TNHColumn().StartsGroup(total));
    EXPECT_FALSE(TNHColumn().StartsGroup(rows[0]));
}

TEST_F(NodeHistoryTest, AddressesMatchWithoutTheDomainButAPointIsAnotherNode)
{
    EXPECT_EQ(BuildNodeHistory(Log, TFidoAddr::Parse("2:5020/7@fidonet")).size(), 3u);
    const auto point = BuildNodeHistory(Log, TFidoAddr::Parse("2:5020/7.1"));
    ASSERT_EQ(point.size(), 2u);
    EXPECT_EQ(point[0].Day, 2);
    EXPECT_EQ(point[0].Stat.InSess, 1);
    // A node that never appears: the total alone, all zero.
    const auto none = BuildNodeHistory(Log, TFidoAddr::Parse("2:5020/8"));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].Stat.Tries + none[0].Stat.InSess + none[0].Stat.OutSess, 0);
    EXPECT_EQ(Text(none[0], nhCPS), "0");
}

TEST_F(NodeHistoryTest, ChartBarsByOutcomeForTheNodeAndTheWholeLog)
{
    const auto rows = BuildNodeHistory(Log, TFidoAddr::Parse("2:5020/7"));
    const auto node = NodeHistoryBars(Log, rows);
    ASSERT_EQ(node.size(), 3u);  // every day of the log, day 1 empty
    EXPECT_EQ(node[0].Out, 1);
    EXPECT_EQ(node[0].Sessions(), 1);
    EXPECT_EQ(node[0].BytesSent, 5000);
    EXPECT_EQ(node[1].Sessions(), 0);
    EXPECT_EQ(node[2].Bad, 2);
    EXPECT_EQ(node[2].In + node[2].Out + node[2].Human, 0);

    const auto all = LogOverviewBars(Log);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].Out, 1);
    EXPECT_EQ(all[0].Human, 1);
    EXPECT_EQ(all[0].Sessions(), 2);
    EXPECT_EQ(all[1].In, 1);
    EXPECT_EQ(all[1].BytesRecd, 100);
    EXPECT_EQ(all[2].Bad, 2);
    EXPECT_EQ(all[2].In, 1);  // the point's session
    EXPECT_EQ(all[2].BytesSent, 300);
    EXPECT_EQ(all[2].Date, Log.Days[2].Date);
}

TEST_F(NodeHistoryTest, TheNodeOfALine)
{
    const TSess& first = Log.Session(0);
    EXPECT_EQ(NodeAtLine(Log, first.EndLine, "")->ToString(), "2:5020/7");
    // Outside sessions, the first word that reads as an address; times and dates do not.
    EXPECT_EQ(NodeAtLine(Log, 1, "05/02 10:00:00 Dialing 2:5020/7.1@fidonet, 555-0100, BUSY")->ToString(), "2:5020/7.1");
    EXPECT_FALSE(NodeAtLine(Log, 1, "05/02 10:00:00 T-Mail started 1:2"));
    EXPECT_FALSE(NodeAtLine(Log, 1, ""));
}

TEST(NodeReportCommand, NeedsAnAddressAndANodeOfTheLog)
{
    tarvex::testing::TTestDir dir{"node-report"};
    WriteTMailDir(dir.Path.string(), {});
    TMailLogWriter w{TMailPhrases()};
    w.SetDate(2026, 2, 5);
    w.At(10, 0, 0);
    w.Dial("2:5020/7", "BUSY");
    const std::string log = (dir.Path / "t.log").string();
    WriteFileBytes(log, w.Text());
    std::ostringstream out, err;
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"node", "--style", "t-mail", "--mailer-path", dir.Path.string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(log);
        out.str("");
        err.str("");
        return RunReportCommand(args, out, err);
    };
    EXPECT_EQ(run({}), 2);
    EXPECT_NE(err.str().find("--addr ADDRESS"), std::string::npos) << err.str();
    EXPECT_EQ(run({"--addr", "5020/7"}), 2);
    EXPECT_EQ(run({"--addr", "2:5020/9"}), 2);
    EXPECT_NE(err.str().find("node 2:5020/9 does not appear in the log"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(run({"--addr", "2:5020/7", "--columns", "date,busy:4", "--utf8"}), 0) << err.str();
    EXPECT_NE(out.str().find("│05 Feb 26 │1   │"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("│Total     │1   │"), std::string::npos) << out.str();
}
