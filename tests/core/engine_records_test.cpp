// The records of a long pass: sessions by the thousand, days whose node lists are put in order
// while the pass goes on, and what a view painting in the middle of the pass may rely on.
#include <gtest/gtest.h>

#include <string>

#include "base/datetime.h"
#include "teststyle.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// Lines of `days` days; each day dials its nodes from the highest address down and holds
// `perDay` sessions, inbound and outbound by turns.
std::string ManyDays(int days, int perDay)
{
    std::string text;
    for (int d = 1; d <= days; ++d) {
        const std::string date = Two(d) + "/02 ";
        for (int n = 9; n >= 1; --n)
            text += date + "10:00:00 DIAL 2:50" + Two(n) + "/1 BUSY\n";
        for (int s = 0; s < perDay; ++s) {
            const int node = 1 + s % 9;
            const std::string at = date + "11:" + Two(s / 60 % 60) + ":" + Two(s % 60) + " ";
            if (s % 2 == 0) {
                text += at + "CONNECT IN\n" + at + "ADDR 2:50" + Two(node) + "/1\n";
            } else {
                text += date + "10:59:00 DIAL 2:50" + Two(node) + "/1 OK\n" + at + "CONNECT OUT\n";
            }
            text += at + "END 100 200\n";
        }
    }
    return text;
}

// Checks, at every turn the pass gives the front end, that the session list never counts more
// than it holds: a session list view may paint at any of them.
class TCheckingUi : public TScriptedUserInterface
{
public:
    explicit TCheckingUi(const TMailerLog& log) : Log(log) {}
    void KeepAlive() override
    {
        ++Turns;
        if (Log.SessCount < 0 || static_cast<std::size_t>(Log.SessCount) > Log.Sessions.size())
            ++Inconsistent;
    }
    const TMailerLog& Log;
    long Turns = 0;
    long Inconsistent = 0;
};

}  // namespace

TEST(EngineRecords, ThousandsOfSessionsArriveInOrderAndCountedRight)
{
    SetProgramStartDate(EncodeDate(2026, 3, 1));
    TTestStyle log;
    TCheckingUi ui(log);
    const int days = 5, perDay = 3000;  // several chunks of sessions
    ASSERT_TRUE(log.Analyze(ui, {}, ManyDays(days, perDay)));
    EXPECT_EQ(ui.Inconsistent, 0);
    ASSERT_EQ(log.SessCount, days * perDay);
    ASSERT_EQ(log.Sessions.size(), static_cast<std::size_t>(days * perDay));
    for (std::size_t i = 1; i < log.Sessions.size(); ++i)
        ASSERT_LT(log.Sessions[i - 1].StartLine, log.Sessions[i].StartLine) << "session " << i;
    EXPECT_EQ(log.Session(0).Flags & sfFirstOfDay, sfFirstOfDay);
    EXPECT_EQ(log.Session(perDay).Flags & sfFirstOfDay, sfFirstOfDay);
    EXPECT_EQ(log.Session(1).Flags & sfFirstOfDay, 0);
    EXPECT_EQ(log.SessionAtLine(log.Session(perDay + 1).EndLine), perDay + 1);

    // A second pass over the same object starts afresh.
    ASSERT_TRUE(log.Analyze(ui, {}, ManyDays(2, 10)));
    EXPECT_EQ(log.SessCount, 20);
    EXPECT_EQ(log.Sessions.size(), 20u);
}

TEST(EngineRecords, EveryDaysNodesAreSortedAndCountedWhetherOrNotItIsTheLast)
{
    SetProgramStartDate(EncodeDate(2026, 3, 1));
    TTestStyle log;
    TScriptedUserInterface ui;
    ASSERT_TRUE(log.Analyze(ui, {}, ManyDays(4, 18)));
    ASSERT_EQ(log.DayCount, 4);
    for (std::int32_t d = 0; d < 4; ++d) {
        ASSERT_EQ(log.NodeCount(d), 9) << "day " << d;
        for (std::int32_t i = 0; i < 9; ++i) {
            const TNodeStat& n = log.Node(d, i);
            EXPECT_EQ(n.Addr.ToString(), "2:50" + Two(i + 1) + "/1") << "day " << d;
            EXPECT_EQ(n.Busy, 1);
            EXPECT_EQ(n.Tries, 2);  // its busy dial and one dial of an outbound session
            EXPECT_EQ(n.InSess + n.OutSess, 2);
            EXPECT_EQ(n.BytesRecd, 400);
        }
    }
}

TEST(EngineRecords, AWindowClosedDuringThePassKeepsTheSessionsMadeSoFar)
{
    SetProgramStartDate(EncodeDate(2026, 3, 1));
    struct TWindow : ILogWindow {
        void ShowLine(int) override {}
    } window;
    TTestStyle log;
    log.Window = &window;
    struct TClosingUi : TScriptedUserInterface {
        TTestStyle* Log = nullptr;
        long Turns = 0;
        void KeepAlive() override
        {
            if (++Turns == 2000)
                Log->Window = nullptr;
        }
    } ui;
    ui.Log = &log;
    EXPECT_FALSE(log.Analyze(ui, {}, ManyDays(3, 1000)));
    EXPECT_GT(log.SessCount, 0);
    EXPECT_EQ(log.Sessions.size(), static_cast<std::size_t>(log.SessCount));
    EXPECT_LT(log.SessCount, 3000);
    EXPECT_LT(log.Sessions.back().EndLine, 2000);
}
