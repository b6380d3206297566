#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log/dlcupdate.h"
#include "platform/paths.h"
#include "teststyle.h"

using namespace tarvex;
using tarvex::testing::Lines;
using tarvex::testing::TTestStyle;

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void WriteAll(const fs::path& p, std::string_view s)
{
    std::ofstream f(p, std::ios::binary);
    f << s;
}

class FreqTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramStartDate(EncodeDate(2026, 3, 1));
        Dir = fs::path(::testing::TempDir()) / ("freqs_" + std::to_string(::getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    bool Run(std::string_view text) { return Log.Analyze(Ui, {}, text); }

    fs::path Dir;
    TTestStyle Log;
    TScriptedUserInterface Ui;
};

const char* kSessionStart[] = {"05/02 10:00:00 CONNECT IN", "05/02 10:00:00 ADDR 2:5020/1"};

}  // namespace

TEST_F(FreqTest, MagicNameResolvesAndSendingMarksIt)
{
    WriteAll(Dir / "index.frq", "; comment\n\n  @Magic (all files) C:\\Files\\Real.zip\nOTHER c:\\x\\y.zip\n");
    Log.OnLoadConfig = [&] { Log.ReadFreqIndex((Dir / "index.frq").string()); };
    ASSERT_TRUE(Run(Lines({kSessionStart[0], kSessionStart[1], "05/02 10:00:01 FREQ magic",
                           "05/02 10:00:02 SENT REAL.ZIP C:\\FILES\\REAL.ZIP", "05/02 10:00:03 END"})));
    ASSERT_EQ(Log.Aliases.size(), 2u);
    EXPECT_EQ(Log.Aliases[0].Alias.Path, "C:\\FILES\\REAL.ZIP");
    ASSERT_EQ(Log.Freqs.size(), 1u);
    EXPECT_EQ(Log.Freqs[0].Request, "MAGIC");
    EXPECT_TRUE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[0].Freq.Name, "REAL.ZIP");
    EXPECT_EQ(Log.Freqs[0].Freq.LineNo, 4);
}

TEST_F(FreqTest, RepeatedRequestUpdatesOneEntryWildcardMakesOnePerFile)
{
    ASSERT_TRUE(Run(Lines({kSessionStart[0], kSessionStart[1], "05/02 10:00:01 FREQ a.zip",
                           "05/02 10:00:02 FREQ A.ZIP", "05/02 10:00:03 FREQ *.ARJ", "05/02 10:00:04 SENT ONE.ARJ",
                           "05/02 10:00:05 SENT TWO.ARJ", "05/02 10:00:06 SENT NOREQ.TXT", "05/02 10:00:07 END"})));
    ASSERT_EQ(Log.Freqs.size(), 3u);
    EXPECT_EQ(Log.Freqs[0].Freq.LineNo, 4);
    EXPECT_EQ(Log.Freqs[1].Request, "*.ARJ");
    EXPECT_EQ(Log.Freqs[1].Freq.Name, "ONE.ARJ");
    EXPECT_EQ(Log.Freqs[2].Request, "*.ARJ");
    EXPECT_EQ(Log.Freqs[2].Freq.Name, "TWO.ARJ");
    EXPECT_TRUE(Log.Freqs[2].Freq.Sent);
}

TEST_F(FreqTest, MissingIndexAndDirListWarnAndGoOn)
{
    Log.OnLoadConfig = [&] {
        Log.ReadFreqIndex((Dir / "none.frq").string());
        EXPECT_TRUE(Log.ReadFreqDirs((Dir / "none.dir").string()).empty());
    };
    EXPECT_TRUE(Run("05/02 10:00:00 x\n"));
    EXPECT_EQ(Ui.Transcript, (std::vector<std::string>{"Cannot open freq index file", "Cannot open freq dirs file"}));
}

TEST_F(FreqTest, DirListEntries)
{
    WriteAll(Dir / "dir.frq", "  C:\\FILES\\A\r\n;x\r\nC:\\FILES\\B\\ more\r\n@FILES.IDX\r\n");
    Log.OnLoadConfig = [&] {
        EXPECT_EQ(Log.ReadFreqDirs((Dir / "dir.frq").string()),
                  (std::vector<std::string>{"C:\\FILES\\A\\", "C:\\FILES\\B\\", "@FILES.IDX"}));
    };
    EXPECT_TRUE(Run(""));
}

TEST(DlcCounter, TextAndReading)
{
    TDlcFormat f;
    EXPECT_EQ(CounterText(7, f), "[007]");
    EXPECT_EQ(CounterText(1000, f), "[000]");
    f.Digits = 2;
    EXPECT_EQ(RaiseCounter("A.ZIP  x [99]", f), "A.ZIP  x [00]");

    TDlcFormat d;
    EXPECT_EQ(RaiseCounter("FILE.ZIP     Tool [009]", d), "FILE.ZIP     Tool [010]");
    EXPECT_EQ(RaiseCounter("FILE.ZIP     Tool", d), "FILE.ZIP     [001]Tool");
    EXPECT_EQ(RaiseCounter("F.ZIP", d), "F.ZIP        [001]");
    EXPECT_EQ(RaiseCounter("F.ZIP        [] x", d), "F.ZIP        [001] x");
    // A version number in brackets before the counter is left alone; no text is lost.
    EXPECT_EQ(RaiseCounter("F.ZIP        Util [v1.2] [004]", d), "F.ZIP        Util [v1.2] [005]");
    EXPECT_EQ(RaiseCounter("F.ZIP        Util [v1.2]", d), "F.ZIP        [001]Util [v1.2]");
    // Only the last digits matter, however many there are.
    EXPECT_EQ(RaiseCounter("F.ZIP [99999999999999999999999]", d), "F.ZIP [000]");
}

TEST_F(FreqTest, FilesBbsUpdateAppendAndBackup)
{
    WriteAll(Dir / "files.bbs", "FILE.ZIP     Tool [009]\r\n OTHER.ZIP continuation\r\nfile.zip     again\r\n");
    TDlcFormat f;
    EXPECT_EQ(UpdateFilesBbs(Dir.string(), "FILE.ZIP", f), TDlcResult::Updated);
    EXPECT_EQ(ReadAll(Dir / "files.bbs"), "FILE.ZIP     Tool [010]\r\n OTHER.ZIP continuation\r\nfile.zip     [001]again\r\n");
    EXPECT_EQ(ReadAll(Dir / "filesbbs.bak"), "FILE.ZIP     Tool [009]\r\n OTHER.ZIP continuation\r\nfile.zip     again\r\n");

    f.Backup = false;
    EXPECT_EQ(UpdateFilesBbs(Dir.string(), "NEW.ZIP", f), TDlcResult::Appended);
    EXPECT_EQ(ReadAll(Dir / "files.bbs"),
              "FILE.ZIP     Tool [010]\r\n OTHER.ZIP continuation\r\nfile.zip     [001]again\r\nNEW.ZIP       [000]\r\n");
    EXPECT_FALSE(fs::exists(Dir / "filesbbs.bak"));
}

TEST_F(FreqTest, FilesBbsWithoutFinalNewlineAndUpperCaseName)
{
    WriteAll(Dir / "FILES.BBS", "A.ZIP x");
    TDlcFormat f;
    EXPECT_EQ(UpdateFilesBbs(Dir.string(), "B.ZIP", f), TDlcResult::Appended);
    EXPECT_EQ(ReadAll(Dir / "FILES.BBS"), "A.ZIP x\r\nB.ZIP         [000]\r\n");
    EXPECT_EQ(UpdateFilesBbs((Dir / "nowhere").string(), "B.ZIP", f), TDlcResult::NoList);
}

TEST_F(FreqTest, FailedRewriteLeavesTheListIntact)
{
    const std::string original = "FILE.ZIP     Tool [009]\n";
    WriteAll(Dir / "files.bbs", original);
    WriteAll(Dir / "filesbbs.bak", "old backup\n");
    // The new list cannot be written where it goes first.
    fs::create_directory(Dir / "files.bbs.$$$");
    TDlcFormat f;
    std::string error;
    EXPECT_EQ(UpdateFilesBbs(Dir.string(), "FILE.ZIP", f, &error), TDlcResult::Failed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadAll(Dir / "files.bbs"), original);
    EXPECT_EQ(ReadAll(Dir / "filesbbs.bak"), "old backup\n");
}

TEST_F(FreqTest, UpdateAfterPassCountsEachSentFileOnce)
{
    fs::create_directories(Dir / "area");
    WriteAll(Dir / "area" / "files.bbs", "ONE.ARJ      first [001]\nTWO.ARJ      second\n");
    const std::string area = (Dir / "area").string();
    // The log names the files by DOS path; a drive maps the test's folder.
    SetDriveMap({{'X', area}});
    ASSERT_TRUE(Run(Lines({kSessionStart[0], kSessionStart[1], "05/02 10:00:03 FREQ *.ARJ",
                           "05/02 10:00:04 SENT ONE.ARJ X:\\ONE.ARJ", "05/02 10:00:05 SENT TWO.ARJ X:\\TWO.ARJ",
                           "05/02 10:00:06 FREQ GONE.ZIP", "05/02 10:00:07 SENT GONE.ZIP Y:\\NOPE\\GONE.ZIP",
                           "05/02 10:00:08 END"})));
    RunDlcUpdate(Log, Ui, TDlcFormat{});
    ClearDriveMap();
    EXPECT_EQ(ReadAll(Dir / "area" / "files.bbs"), "ONE.ARJ      first [002]\nTWO.ARJ      [001]second\n");
    EXPECT_EQ(Ui.Transcript, (std::vector<std::string>{"Cannot chdir to Y:\\NOPE\\"}));
}
