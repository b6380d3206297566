#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analyzecommand.h"
#include "brakedir.h"
#include "brakelogwriter.h"
#include "testdir.h"
#include "tmaildir.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

class AnalyzeBrakeTest : public ::testing::Test
{
protected:
    void SetUp() override { WriteBrakeDir(Dir.string(), TBrakeDirOptions{}); }

    int Run(const TBrakeLogWriter& w, std::vector<std::string> extra)
    {
        WriteFileBytes((Dir / "brake.log").string(), w.Text());
        std::vector<std::string> args = {"--style", "Brake!", "--mailer-path", Dir.string(), "--drive", "C=" + Dir.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "brake.log").string());
        Out.str("");
        Err.str("");
        return RunAnalyzeCommand(args, Out, Err);
    }

    static void Session(TBrakeLogWriter& w)
    {
        w.SetDate(1999, 3, 7);
        w.At(10, 0, 0);
        w.Incoming();
        w.SessionWith("2:5020/52");
        w.System("Back BBS");
        w.SysOp("Petr Orlov", "Tver");
        w.SendingFreqs();
        w.Send("TOOL.ZIP", 1000);
        w.Sent("TOOL.ZIP", 100);
        w.Tick(10);
        w.Done("2:5020/52", 10, 0, 1, 0, 1000, 100);
    }

    tarvex::testing::TTestDir Scratch{"analyzebrake"};
    const fs::path& Dir = Scratch.Path;
    std::ostringstream Out, Err;
};

}  // namespace

TEST_F(AnalyzeBrakeTest, BothVersionsThroughTheCommand)
{
    const std::string expected =
        "day\t0\t1\t1999-03-07\n"
        "session\t0\t1\t8\t1999-03-07 10:00:00\t1999-03-07 10:00:10\t83\t2:5020/52\tBack BBS\tPetr Orlov\t1\t0\t1000\t0\t100\n"
        "node\t0\t2:5020/52\t0\t0\t0\t0\t1\t1000\t0\t10\t100\n"
        "freq\t0\tTOOL.ZIP\tTOOL.ZIP\t2:5020/52\t1\t7\t\t0\n"
        "total\t8\t1\t1\t1\n";
    TBrakeLogWriter older(701);
    Session(older);
    ASSERT_EQ(Run(older, {}), 0) << Err.str();
    EXPECT_EQ(Out.str(), expected);
    ASSERT_EQ(Run(older, {"--brake-version", "701"}), 0);
    EXPECT_EQ(Out.str(), expected);

    TBrakeLogWriter newer(703);
    Session(newer);
    ASSERT_EQ(Run(newer, {"--brake-version", "703"}), 0) << Err.str();
    EXPECT_EQ(Out.str(), expected);
    // Read as the older mailer's, the newer transfer lines request nothing.
    ASSERT_EQ(Run(newer, {}), 0);
    EXPECT_EQ(Out.str().find("freq\t"), std::string::npos);
}

TEST_F(AnalyzeBrakeTest, UnknownVersionAndMissingConfiguration)
{
    TBrakeLogWriter w(701);
    Session(w);
    EXPECT_EQ(Run(w, {"--brake-version", "702"}), 2);
    EXPECT_EQ(Err.str().rfind("tarvex-cli analyze: unknown Brake! version '702' (701 for 701-702, 703 for 703-715)\n", 0), 0u);
    EXPECT_EQ(Out.str(), "");
    EXPECT_EQ(Run(w, {"--brake-version", "x"}), 2);

    fs::remove(Dir / "brake!.ctl");
    EXPECT_EQ(Run(w, {}), 2);
    EXPECT_EQ(Err.str().rfind("Error loading config file:  Cannot open file ", 0), 0u) << Err.str();
    EXPECT_EQ(Out.str(), "");
}
