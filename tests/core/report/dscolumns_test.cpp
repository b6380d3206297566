#include <gtest/gtest.h>

#include <filesystem>

#include "base/datetime.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "report/dscolumns.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

std::string Text(const TNodeStat& n, int type)
{
    TDSColumn c;
    c.ColType = type;
    std::string t = "stale";
    c.ColumnText(n, t);
    return t;
}

class DialStatTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        SetDriveMap({{'C', Scratch.Path.string()}});
        Log.MailerPath = Scratch.Path.string();
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
    }
    void TearDown() override { ClearDriveMap(); }

    bool Run()
    {
        WriteTMailDir(Scratch.Path.string(), {});
        return Log.Analyze(Ui, {}, W.Text());
    }

    // Dialled three times, busy twice, then reached for 100 seconds.
    void ThreeTriesThenReached(std::string_view addr)
    {
        W.Dial(addr, "BUSY");
        W.Tick(60);
        W.Dial(addr, "BUSY");
        W.Tick(60);
        W.Dial(addr, "CONNECT 28800");
        W.Connect(false, "CONNECT 28800");
        W.Address(addr);
        W.Sent("C:\\OUT\\A.PKT", true, 5000);
        W.Recd("B.PKT", true, 12000);
        W.Tick(100);
        W.Traffic(12000, 5000, 120);
        W.Tick(30);
    }

    tarvex::testing::TTestDir Scratch{"dialstat"};
    TMailLogWriter W{TMailPhrases()};
    TTmailLog Log;
    TScriptedUserInterface Ui;
};

}  // namespace

TEST_F(DialStatTest, NodeDialledThreeTimesThenReached)
{
    ThreeTriesThenReached("2:5020/200");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.NodeCount(0), 1);
    const TNodeStat& n = Log.Node(0, 0);
    EXPECT_EQ(Text(n, dsNode), "2:5020/200");
    EXPECT_EQ(Text(n, dsTries), "3");
    EXPECT_EQ(Text(n, dsBusy), "2");
    EXPECT_EQ(Text(n, dsNoCarrier), "0");
    EXPECT_EQ(Text(n, dsOutSess), "1");
    EXPECT_EQ(Text(n, dsInSess), "0");
    EXPECT_EQ(Text(n, dsBytesSent), "5000");
    EXPECT_EQ(Text(n, dsBytesRecd), "12000");
    EXPECT_EQ(Text(n, dsTimeOnline), "0:01:40");
    EXPECT_EQ(Text(n, dsCPS), "120");
}

TEST_F(DialStatTest, SameNodeOnTwoDaysHasARowOnEachAndADayWithoutCallsHasNone)
{
    ThreeTriesThenReached("2:5020/200");
    W.NextDay();
    W.At(9, 0, 0);
    W.Dial("2:5020/200", "NO CARRIER");
    W.NextDay();
    W.At(9, 0, 0);
    W.Info("nothing happens today");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 3);
    ASSERT_EQ(Log.NodeCount(0), 1);
    ASSERT_EQ(Log.NodeCount(1), 1);
    EXPECT_EQ(Text(Log.Node(1, 0), dsTries), "1");
    EXPECT_EQ(Text(Log.Node(1, 0), dsNoCarrier), "1");
    EXPECT_EQ(Text(Log.Node(1, 0), dsTimeOnline), "0:00:00");
    EXPECT_EQ(Log.NodeCount(2), 0);
}

TEST(DialStatColumnsTest, NamesDefaultsAndUnknownTypes)
{
    TNodeStat n;
    n.Addr = TFidoAddr::Parse("1:2/3.4");
    n.Seconds = 3725;
    EXPECT_EQ(Text(n, dsNode), "1:2/3.4");
    EXPECT_EQ(Text(n, dsTimeOnline), "1:02:05");
    EXPECT_EQ(Text(n, kDialStatColumnTypes), "");
    EXPECT_EQ(Text(n, -1), "");
    EXPECT_FALSE(TDSColumn().StartsGroup(n));
    EXPECT_STREQ(DialStatColumnNames[dsNoCarrier], "No carrier");

    TMemorySettings store;
    TDialStatColumnList list;
    list.Load(store, "Log.DialStat", DialStatColumnFactory(), DialStatDefaultColumns());
    ASSERT_EQ(list.Items.size(), 3u);
    EXPECT_EQ(list.Items[0]->Heading, "Node");
    EXPECT_EQ(list.Items[0]->ScrWidth, 90);
    EXPECT_EQ(list.Items[1]->ColType, dsOutSess);
    EXPECT_EQ(list.Items[2]->ColType, dsInSess);
    EXPECT_EQ(list.Items[2]->ScrWidth, 50);
    EXPECT_EQ(list.NumScr, 3);
    EXPECT_EQ(list.NumFile, 0);
}
