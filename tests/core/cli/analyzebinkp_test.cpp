#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analyzecommand.h"
#include "binkdir.h"
#include "binklogwriter.h"
#include "phrasescommand.h"
#include "platform/paths.h"
#include "testdir.h"
#include "tmaildir.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

class AnalyzeBinkPTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteBinkDir(Dir.string(), TBinkDirOptions{});
        W.SetDate(2026, 3, 7);
        W.At(10, 0, 0);
    }

    int Run()
    {
        WriteFileBytes((Dir / "binkley.log").string(), W.Text());
        Out.str("");
        Err.str("");
        return RunAnalyzeCommand({"--style", "Bink/+", "--mailer-path", Dir.string(), "--drive", "C=" + Dir.string(),
                                  "--year", "2026", (Dir / "binkley.log").string()},
                                 Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"analyzebinkp"};
    const fs::path& Dir = Scratch.Path;
    TBinkLogWriter W{TBinkPhrases()};
    std::ostringstream Out, Err;
};

}  // namespace

TEST_F(AnalyzeBinkPTest, RecordsThroughTheCommand)
{
    W.Calling("Hub", "2:5020/52");
    W.Connect();
    W.Remote("Hub North", "2:5020/52");
    W.SysOp("Ivan Petrov", "Moscow");
    W.FileRequest("TOOLS");
    W.SendFile("C:\\FILES\\UTILS\\TOOL.ZIP", 1000, 100);
    W.Tick(10);
    W.EndOfSession();
    ASSERT_EQ(Run(), 0) << Err.str();
    EXPECT_EQ(Out.str(),
              "day\t0\t1\t2026-03-07\n"
              "session\t0\t2\t9\t2026-03-07 10:00:00\t2026-03-07 10:00:10\t82\t2:5020/52\tHub North\tIvan Petrov\t1\t0\t1000\t0\t100\n"
              "node\t0\t2:5020/52\t1\t0\t0\t1\t0\t1000\t0\t10\t100\n"
              "freq\t0\tTOOLS\tTOOL.ZIP\t2:5020/52\t1\t8\tC:\\\\FILES\\\\UTILS\\\\TOOL.ZIP\t0\n"
              "total\t9\t1\t1\t1\n");
    EXPECT_EQ(Err.str(), "");
}

TEST_F(AnalyzeBinkPTest, MissingFilesExitTwo)
{
    W.Msg("x");
    fs::remove(Dir / "okfile.lst");
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(Err.str().rfind("Error loading config file: ", 0), 0u) << Err.str();
    fs::remove(Dir / "binkley.cfg");
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(Err.str().rfind("Error loading config file:  Cannot open file ", 0), 0u) << Err.str();
    WriteBinkDir(Dir.string(), TBinkDirOptions{});
    fs::remove(Dir / "binkley.lng");
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(Err.str(), "Cannot open .LNG file\n");
    EXPECT_EQ(Out.str(), "");

    // The phrases command asks the style, so it fails the same way.
    std::ostringstream out, err;
    EXPECT_EQ(RunPhrasesCommand({"--style", "5", "--mailer-path", Dir.string()}, out, err), 2);
    EXPECT_EQ(err.str().rfind("Cannot open .LNG file\n", 0), 0u);
}

// A binkley.cfg naming its OkFile through %BT%, as a sysop's start-up script sets it: --env
// gives the value; without it the name is told.
TEST_F(AnalyzeBinkPTest, EnvironmentNamesOfTheConfiguration)
{
    const std::string cfg = (Dir / "binkley.cfg").string();
    std::string text;
    ASSERT_TRUE(tarvex::ReadWholeFile(cfg, text));
    const std::size_t at = text.find("OkFile ");
    ASSERT_NE(at, std::string::npos);
    text.insert(at + 7, "%BT%\\");
    WriteFileBytes(cfg, text);
    W.Calling("Hub", "2:5020/52");
    WriteFileBytes((Dir / "binkley.log").string(), W.Text());
    auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args{"--style", "Bink/+", "--mailer-path", Dir.string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "binkley.log").string());
        Err.str("");
        return RunAnalyzeCommand(args, Out, Err);
    };
    EXPECT_EQ(run({}), 2);
    EXPECT_NE(Err.str().find("%BT% is not defined: set it under Environment or with --env BT=DIR"), std::string::npos)
        << Err.str();
    EXPECT_EQ(run({"--env", "BT=" + Dir.string()}), 0) << Err.str();
    EXPECT_EQ(run({"--env", "=x"}), 2);
    EXPECT_NE(Err.str().find("bad environment name '=x' (NAME=VALUE)"), std::string::npos);
}
