#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/paths.h"
#include "testdir.h"
#include "tmailcommands.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex::fixtures;

namespace {

class TMailCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override { WriteFileBytes(Mailer() + "/t-mail.ctl", "Address 2:5020/1\r\n"); }
    void TearDown() override { tarvex::ClearDriveMap(); }

    std::string Mailer() const { return Scratch.Path.string(); }

    int Traffic(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"--mailer-path", Mailer()};
        args.insert(args.end(), extra.begin(), extra.end());
        Out.str("");
        Err.str("");
        return RunTrafficCommand(args, Out, Err);
    }
    int History(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"--mailer-path", Mailer()};
        args.insert(args.end(), extra.begin(), extra.end());
        Out.str("");
        Err.str("");
        return RunHistoryCommand(args, Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"tmailcli"};
    std::ostringstream Out, Err;
};

TrafficRecordFields Node(std::uint16_t node, std::int32_t sent)
{
    TrafficRecordFields r;
    r.Node = node;
    r.BytesSent = sent;
    return r;
}

}  // namespace

TEST_F(TMailCommandsTest, TrafficReportSortedSignedAndUnsigned)
{
    WriteFileBytes(Mailer() + "/t-mail.s01", BuildTrafficFile({Node(3, 10), Node(1, 30), Node(2, 20)}));
    ASSERT_EQ(Traffic({"--sort", "address"}), 0) << Err.str();
    const std::string report = Out.str();
    EXPECT_EQ(Err.str(), "");
    const std::string prefix = " * Traffic report created by Tarvex beta 4 at ";
    const std::size_t last = report.rfind(prefix);
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
    EXPECT_GT(report.size() - last, prefix.size() + 4);  // a date and a time follow
    EXPECT_EQ(report.find("2:5020/1 "), report.find("\r\n\r\n", 3) + 4);  // first row after the heading

    ASSERT_EQ(Traffic({"--sort", "address", "--no-signature"}), 0);
    EXPECT_EQ(Out.str(), report.substr(0, last));

    ASSERT_EQ(Traffic({"--sort", "traffic", "--no-signature"}), 0);
    const std::string byTraffic = Out.str();
    EXPECT_LT(byTraffic.find("2:5020/1 "), byTraffic.find("2:5020/2 "));
    EXPECT_LT(byTraffic.find("2:5020/2 "), byTraffic.find("2:5020/3 "));
    ASSERT_EQ(Traffic({"--no-signature"}), 0);  // unsorted: file order
    EXPECT_LT(Out.str().find("2:5020/3 "), Out.str().find("2:5020/1 "));
}

TEST_F(TMailCommandsTest, LineNumbersAndTheSystemDirectory)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    WriteFileBytes(Mailer() + "/t-mail.ctl", "Sys_Path D:\\Lines\\\r\n");
    WriteFileBytes(Mailer() + "/lines/T-MAIL.S02", BuildTrafficFile({Node(2, 0)}));
    HistoryRecordFields h;
    h.Flags = 5;
    h.StartTime = 90061;
    h.FilesSent = 255;
    h.BytesSent = 3000;
    WriteFileBytes(Mailer() + "/lines/t-hist.$123", BuildHistoryFile({h}));

    EXPECT_EQ(Traffic({"--drive", "d=" + Mailer(), "--line", "2", "--no-signature"}), 0) << Err.str();
    EXPECT_NE(Out.str().find("\r\n2:5020/2       0/0"), std::string::npos) << Out.str();
    EXPECT_EQ(Traffic({"--drive", "D=" + Mailer()}), 2);  // line 1 by default: no such file
    EXPECT_EQ(Err.str(), "Cannot open traffic file\ntarvex-cli traffic: " + Mailer() + "/lines/t-mail.s01: no such file\n");
    EXPECT_EQ(Out.str(), "");

    ASSERT_EQ(History({"--drive", "D=" + Mailer(), "--line", "123"}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "Status\tAddress\tStart time\tLength\tSent\tRecv\nIn OK\t2:5020/1\t1:01:01\t0:00:00\t255/2K\t0/0\n");
    EXPECT_EQ(History({"--drive", "D=" + Mailer()}), 2);
    EXPECT_EQ(Err.str(), "Cannot open history file\ntarvex-cli history: " + Mailer() + "/lines/t-hist.$01: no such file\n");
}

TEST_F(TMailCommandsTest, EmptyAndTruncatedFiles)
{
    WriteFileBytes(Mailer() + "/t-mail.s01", "");
    ASSERT_EQ(Traffic({"--no-signature"}), 0);
    EXPECT_EQ(Out.str(),
              "\r\n"
              "                 Sent      Recd         Time           Sessions\r\n"
              " Address        Fil/Byt   Fil/Byt    Out      In      Out     In\r\n"
              "\r\n"
              "----------------------------------------------------------------\r\n"
              "Total          0/0       0/0       0:00:00  0:00:00  0/0     0/0    \r\n"
              "\r\n");
    WriteFileBytes(Mailer() + "/t-hist.$01", "");
    ASSERT_EQ(History({}), 0);
    EXPECT_EQ(Out.str(), "Status\tAddress\tStart time\tLength\tSent\tRecv\n");

    WriteFileBytes(Mailer() + "/t-hist.$01", BuildHistoryFile({HistoryRecordFields{}}) + "abc");
    ASSERT_EQ(History({}), 0);
    EXPECT_EQ(Out.str(), "Status\tAddress\tStart time\tLength\tSent\tRecv\nOut\t2:5020/1\t0:00:00\t0:00:00\t0/0\t0/0\n");
    EXPECT_EQ(Err.str(), "tarvex-cli history: " + Mailer() + tarvex::testing::kMailerJoin +
                             "t-hist.$01: 3 bytes at the end of the file make no whole record; 1 record read\n");
}

TEST_F(TMailCommandsTest, BadArgumentsAndConfiguration)
{
    const std::string trafficUsage = "usage: tarvex-cli " + std::string(kTrafficUsage) + "\n";
    EXPECT_EQ(RunTrafficCommand({}, Out, Err), 2);
    EXPECT_EQ(Err.str(), "tarvex-cli traffic: --mailer-path is missing\n" + trafficUsage);
    EXPECT_EQ(Traffic({"--line", "x"}), 2);
    EXPECT_EQ(Err.str(), "tarvex-cli traffic: bad line number 'x'\n" + trafficUsage);
    EXPECT_EQ(Traffic({"--line", "0"}), 2);
    EXPECT_EQ(Traffic({"--sort", "size"}), 2);
    EXPECT_EQ(Traffic({"--drive", "CC"}), 2);
    EXPECT_EQ(Err.str(), "tarvex-cli traffic: bad drive mapping 'CC' (LETTER=DIR)\n" + trafficUsage);
    EXPECT_EQ(History({"--sort", "address"}), 2);  // history takes no sort order
    EXPECT_EQ(History({"--line"}), 2);
    EXPECT_EQ(Err.str(), "tarvex-cli history: --line needs a value\nusage: tarvex-cli " + std::string(kHistoryUsage) + "\n");

    WriteFileBytes(Mailer() + "/t-mail.ctl", "Sys_Path \"C:\\OPEN\r\n");
    EXPECT_EQ(Traffic({}), 2);
    EXPECT_EQ(Err.str(), "Unmatched quotes (file " + Mailer() + tarvex::testing::kMailerJoin + "t-mail.ctl, line 1)\n");
    std::filesystem::remove(Scratch.Path / "t-mail.ctl");
    EXPECT_EQ(History({}), 2);
    EXPECT_EQ(Err.str(), "Cannot open file " + Mailer() + tarvex::testing::kMailerJoin + "t-mail.ctl for parsing\n");
}
