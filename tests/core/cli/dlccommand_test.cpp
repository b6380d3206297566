// tarvex-cli dlc: the counter update of files.bbs after an analysis, as the log window runs it.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <sstream>

#include "dlccommand.h"
#include "platform/paths.h"
#include "testdir.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

const char* const kList = "FILE.ZIP      Tool [009]\r\n"
                          "PLAIN.ZIP     No counter here\r\n"
                          "ROLL.ZIP      [099] rolls over with two digits\r\n"
                          "A.ZIP         first [001]\r\n"
                          "B.ZIP         second [002]\r\n";

std::string ReadAll(const fs::path& p)
{
    std::string s;
    return tarvex::ReadWholeFile(p.string(), s) ? s : std::string("<missing>");
}

class DlcCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TARVEX_SKIP_ON_WINDOWS_PATHS();  // the requests' C:\AREA is mapped to the scratch folder
        TMailDirOptions options;
        options.WriteAreas = false;
        WriteTMailDir(Dir.string(), options);
        WriteFileBytes(List().string(), kList);
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
    }
    void TearDown() override { tarvex::ClearDriveMap(); }

    fs::path List() const { return Dir / "area" / "files.bbs"; }
    fs::path Backup() const { return Dir / "area" / "filesbbs.bak"; }

    // One outgoing session of 2:5030/15 that requests and receives the given files.
    void Session(const std::vector<std::string>& requests, const std::vector<std::string>& sent)
    {
        W.Dial("2:5030/15", "CONNECT 14400");
        W.Connect(false);
        W.Address("2:5030/15");
        W.SysOp("Ivan Petrov");
        W.System("Test Station");
        for (const auto& r : requests)
            W.Freq(r);
        for (const auto& s : sent)
            W.Sent(s, true);
        W.Traffic(0, 100, 100);
        W.Tick(600);
    }

    int Run(std::vector<std::string> extra)
    {
        WriteFileBytes((Dir / "t.log").string(), W.Text());
        std::vector<std::string> args = {"--style", "T-mail", "--mailer-path", Dir.string(), "--year", "2026",
                                         "--drive", "C=" + Dir.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "t.log").string());
        Out.str("");
        Err.str("");
        return RunDlcCommand(args, Out, Err);
    }

    tarvex::testing::TTestDir Scratch{"dlc"};
    const fs::path& Dir = Scratch.Path;
    TMailLogWriter W{TMailPhrases()};
    std::ostringstream Out, Err;
};

}  // namespace

TEST_F(DlcCommandTest, RaisesInPlaceInsertsAtColumn14AppendsAndReportsEachRequest)
{
    Session({"FILE.ZIP", "PLAIN.ZIP", "NEW.ZIP", "NOPE.ZIP", "ZZZ.ZIP"},
            {"C:\\AREA\\FILE.ZIP", "C:\\AREA\\PLAIN.ZIP", "C:\\AREA\\NEW.ZIP", "ZZZ.ZIP"});
    ASSERT_EQ(Run({}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "dlc\t0\tFILE.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t10\n"
                         "dlc\t1\tPLAIN.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t1\n"
                         "dlc\t2\tNEW.ZIP\tappended\tC:\\\\AREA\\\\files.bbs\t0\n"
                         "dlc\t3\tNOPE.ZIP\tnot-sent\n"
                         "dlc\t4\tZZZ.ZIP\tnot-found\n"
                         "total\t5\t2\t1\n");
    EXPECT_EQ(Err.str(), "");
    EXPECT_EQ(ReadAll(List()), "FILE.ZIP      Tool [010]\r\n"
                               "PLAIN.ZIP    [001] No counter here\r\n"
                               "ROLL.ZIP      [099] rolls over with two digits\r\n"
                               "A.ZIP         first [001]\r\n"
                               "B.ZIP         second [002]\r\n"
                               "NEW.ZIP       [000]\r\n");
    // Backups are on by default: the list as it was before the last rewrite.
    EXPECT_TRUE(fs::exists(Backup()));
}

TEST_F(DlcCommandTest, DryRunTellsTheSameAndRewritesNothing)
{
    Session({"FILE.ZIP", "NEW.ZIP"}, {"C:\\AREA\\FILE.ZIP", "C:\\AREA\\NEW.ZIP"});
    ASSERT_EQ(Run({"--dry-run"}), 0);
    EXPECT_EQ(Out.str(), "dlc\t0\tFILE.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t10\n"
                         "dlc\t1\tNEW.ZIP\tappended\tC:\\\\AREA\\\\files.bbs\t0\n"
                         "total\t2\t1\t1\n");
    EXPECT_EQ(ReadAll(List()), kList);
    EXPECT_FALSE(fs::exists(Backup()));
}

TEST_F(DlcCommandTest, TwoDigitsRollOverAndTheFormatOptionsApply)
{
    Session({"ROLL.ZIP"}, {"C:\\AREA\\ROLL.ZIP"});
    ASSERT_EQ(Run({"--dlc-digits", "2"}), 0);
    EXPECT_EQ(Out.str(), "dlc\t0\tROLL.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t0\ntotal\t1\t1\t0\n");
    EXPECT_NE(ReadAll(List()).find("ROLL.ZIP      [00] rolls over"), std::string::npos);

    WriteFileBytes(List().string(), "ROLL.ZIP      <  7> rolls\r\n");
    ASSERT_EQ(Run({"--dlc-left", "<", "--dlc-right", ">", "--dlc-lead", " ", "--dlc-digits", "3"}), 0);
    EXPECT_EQ(ReadAll(List()), "ROLL.ZIP      <  8> rolls\r\n");
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--dlc-digits", "0"}, {"--dlc-digits", "x"}, {"--dlc-left", "<<"}, {"--dlc-backup", "yes"}, {"--dlc-lead"}}) {
        EXPECT_EQ(Run(bad), 2) << bad[0];
        EXPECT_NE(Err.str().find("usage: tarvex-cli dlc"), std::string::npos);
    }
}

TEST_F(DlcCommandTest, WildcardRequestAnsweredByTwoFilesCountsEachOnce)
{
    Session({"*.ZIP"}, {"C:\\AREA\\A.ZIP", "C:\\AREA\\B.ZIP"});
    ASSERT_EQ(Run({}), 0);
    EXPECT_EQ(Out.str(), "dlc\t0\tA.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t2\n"
                         "dlc\t1\tB.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t3\n"
                         "total\t2\t2\t0\n");
    const std::string list = ReadAll(List());
    EXPECT_NE(list.find("A.ZIP         first [002]\r\n"), std::string::npos);
    EXPECT_NE(list.find("B.ZIP         second [003]\r\n"), std::string::npos);
}

TEST_F(DlcCommandTest, AutoNewLimitsTheRunToTheNewRequests)
{
    Session({"A.ZIP"}, {"C:\\AREA\\A.ZIP"});
    W.Line("MARK of the last run");
    Session({"B.ZIP"}, {"C:\\AREA\\B.ZIP"});
    // The mark is the first 20 bytes of the line, as the window keeps it in LastStr.
    const std::string text = W.Text();
    const std::size_t mark = text.rfind('\n', text.find("MARK of the last run")) + 1;
    ASSERT_EQ(Run({"--auto-new", text.substr(mark, 20)}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "dlc\t1\tB.ZIP\tupdated\tC:\\\\AREA\\\\files.bbs\t3\ntotal\t1\t1\t0\n");
    EXPECT_NE(ReadAll(List()).find("A.ZIP         first [001]"), std::string::npos);
}

TEST_F(DlcCommandTest, BackupsOnAndOff)
{
    Session({"FILE.ZIP"}, {"C:\\AREA\\FILE.ZIP"});
    ASSERT_EQ(Run({"--dlc-backup", "1"}), 0);
    EXPECT_EQ(ReadAll(Backup()), kList);
    ASSERT_EQ(Run({"--dlc-backup", "0"}), 0);
    EXPECT_FALSE(fs::exists(Backup()));  // no backup kept, and no stale one left
    EXPECT_NE(ReadAll(List()).find("FILE.ZIP      Tool [011]"), std::string::npos);
}

// A read-only folder stops a rewrite on POSIX only; a Windows folder's read-only flag does not.
#ifndef _WIN32
TEST_F(DlcCommandTest, AListThatCannotBeRewrittenIsLeftAsItWasAndTheStatusIsOne)
{
    Session({"FILE.ZIP"}, {"C:\\AREA\\FILE.ZIP"});
    // A read-only folder; root writes there all the same, so for root the new list's
    // scratch name is taken by a folder instead.
    ::chmod((Dir / "area").c_str(), 0555);
    if (::geteuid() == 0)
        fs::create_directories(Dir / "area" / "files.bbs.$$$" / "taken");
    const int code = Run({});
    ::chmod((Dir / "area").c_str(), 0755);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReadAll(List()), kList);
    EXPECT_NE(Err.str().find("Cannot update files.bbs in C:\\AREA\\: "), std::string::npos) << Err.str();
    EXPECT_NE(Out.str().find("dlc\t0\tFILE.ZIP\tCannot update files.bbs in C:\\\\AREA\\\\: "), std::string::npos);
    EXPECT_NE(Out.str().find("total\t1\t0\t0\n"), std::string::npos);
}
#endif
