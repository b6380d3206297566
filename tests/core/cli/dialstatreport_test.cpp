#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "reportcommand.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

std::string B(int b) { return std::string(1, static_cast<char>(b)); }
std::string Rep(int b, int n) { return std::string(static_cast<std::size_t>(n), static_cast<char>(b)); }

// Two days: on the first 2:5020/1 is dialled twice and reached, 2:5030/15 calls in; on the
// second only 2:5020/7 is dialled.
class DialStatReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTMailDir(Dir.string(), TMailDirOptions{});
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
        W.Connect(true);
        W.Address("2:5030/15");
        W.Tick(10);
        W.Traffic(100, 0, 10);
        W.Tick(50);
        W.Dial("2:5020/1", "BUSY");
        W.Tick(50);
        W.Dial("2:5020/1", "CONNECT 9600");
        W.Connect(false);
        W.Address("2:5020/1");
        W.Tick(20);
        W.Traffic(2000, 400, 100);
        W.NextDay();
        W.At(8, 0, 0);
        W.Dial("2:5020/7", "NO CARRIER");
        WriteFileBytes((Dir / "t.log").string(), W.Text());
    }

    int Run(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"dialstat", "--style", "t-mail", "--mailer-path", Dir.string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "t.log").string());
        Out.str("");
        Err.str("");
        return RunReportCommand(args, Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"dialstat-report"};
    const fs::path& Dir = Scratch.Path;
    TMailLogWriter W{TMailPhrases()};
    std::ostringstream Out, Err;
};

std::string Table(const std::string& rows)
{
    return B(218) + Rep(196, 10) + B(194) + Rep(196, 7) + B(194) + Rep(196, 5) + B(191) + "\r\n" +
           B(179) + "   Node   " + B(179) + "In sess" + B(179) + "Tries" + B(179) + "\r\n" +
           B(198) + Rep(205, 10) + B(216) + Rep(205, 7) + B(216) + Rep(205, 5) + B(181) + "\r\n" + rows +
           B(192) + Rep(196, 10) + B(193) + Rep(196, 7) + B(193) + Rep(196, 5) + B(217) + "\r\n";
}

std::string Row(const char* node, const char* in, const char* tries)
{
    return B(179) + node + B(179) + in + B(179) + tries + B(179) + "\r\n";
}

}  // namespace

TEST_F(DialStatReportTest, TheLastDayByDefaultAndAnyDayByIndex)
{
    ASSERT_EQ(Run({"--columns", "node,in sess:7,TRIES:5"}), 0) << Err.str();
    EXPECT_EQ(Out.str(), Table(Row("2:5020/7  ", "0      ", "1    ")));
    EXPECT_EQ(Err.str(), "");

    ASSERT_EQ(Run({"--day", "0", "--columns", "node,in sess:7,TRIES:5"}), 0) << Err.str();
    EXPECT_EQ(Out.str(), Table(Row("2:5020/1  ", "0      ", "2    ") + Row("2:5030/15 ", "1      ", "0    ")));
}

TEST_F(DialStatReportTest, TotalIsTheNumberOfNodesOfTheDay)
{
    std::ofstream(Dir / "head.tpl", std::ios::binary) << "@total nodes\n";
    ASSERT_EQ(Run({"--day", "0", "--header", (Dir / "head.tpl").string(), "--columns", "cps"}), 0) << Err.str();
    EXPECT_EQ(Out.str().substr(0, 9), "2 nodes\r\n");
}

TEST_F(DialStatReportTest, DayOutsideTheListIsAUsageError)
{
    EXPECT_EQ(Run({"--day", "2"}), 2);
    EXPECT_NE(Err.str().find("no day 2 in the log (days 0 to 1)"), std::string::npos) << Err.str();
    EXPECT_EQ(Out.str(), "");
    EXPECT_EQ(Run({"--day", "-1"}), 2);
    EXPECT_NE(Err.str().find("--day needs a day index"), std::string::npos);
    EXPECT_EQ(Run({"--day", "x"}), 2);
    EXPECT_EQ(Run({"--day"}), 2);
    // The names are those of the dial statistics, not the session list's.
    EXPECT_EQ(Run({"--columns", "time"}), 2);
    EXPECT_NE(Err.str().find("unknown column 'time' (Node, Tries, Busy, No carrier"), std::string::npos);
}

TEST_F(DialStatReportTest, StoredDialStatColumnsOfAConfiguredLog)
{
    std::ofstream(Dir / "tarvex.ini", std::ios::binary)
        << "[%General]\nNumLogs=1\n\n[Log1]\nName=My station\n\n[My%20station.SessList]\nNumColumns=1\n"
           "Column0.ColType=11\nColumn0.ShowFile=1\n\n[My%20station.DialStat]\nNumColumns=1\nColumn0.ColType=9\n"
           "Column0.Heading=Speed\nColumn0.ShowScr=0\nColumn0.ShowFile=1\nColumn0.FileWidth=5\n";
    ASSERT_EQ(Run({"--day", "0", "--settings", (Dir / "tarvex.ini").string(), "--log", "My station"}), 0) << Err.str();
    EXPECT_NE(Out.str().find(B(179) + "Speed" + B(179)), std::string::npos) << Out.str();
    EXPECT_NE(Out.str().find(B(179) + "100  " + B(179)), std::string::npos) << Out.str();
}
