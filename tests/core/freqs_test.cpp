#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log/dlcupdate.h"
#include "platform/paths.h"
#include "testdir.h"
#include "teststyle.h"
#include "windowspaths.h"

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
    void SetUp() override { SetProgramStartDate(EncodeDate(2026, 3, 1)); }

    bool Run(std::string_view text) { return Log.Analyze(Ui, {}, text); }

    tarvex::testing::TTestDir Scratch{"freqs"};
    const fs::path& Dir = Scratch.Path;
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
    TARVEX_SKIP_ON_WINDOWS_PATHS();
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

// The request index must answer exactly what a scan of the whole list answers.
TEST(FreqIndex, SameAnswersAsAScanOfTheList)
{
    struct TModel {
        std::vector<TFreqEntry> Freqs;
        void Add(const std::string& name, const TFidoAddr& a, int line)
        {
            for (auto& e : Freqs)
                if (e.Request == name && Equal(e.Freq.Addr, a)) {
                    e.Freq.LineNo = line;
                    return;
                }
            TFreqEntry e;
            e.Request = name;
            e.Freq.Addr = a;
            e.Freq.LineNo = line;
            e.Freq.Name = name;
            Freqs.push_back(e);
        }
        void Sent(const std::string& name, const TFidoAddr& a, int line)
        {
            TFreqEntry* found = nullptr;
            for (auto it = Freqs.rbegin(); it != Freqs.rend() && !found; ++it)
                if (Equal(it->Freq.Addr, a) && (it->Freq.Name == name || MatchWild(name, it->Request, false)))
                    found = &*it;
            if (!found)
                return;
            if (found->Freq.Sent && found->Request.find_first_of("*?") != std::string::npos) {
                TFreqEntry e = *found;
                e.Freq.Name = name;
                e.Freq.LineNo = line;
                Freqs.push_back(e);
                return;
            }
            found->Freq.Name = name;
            found->Freq.Sent = true;
            found->Freq.LineNo = line;
        }
    } model;

    TTestStyle log;
    const std::vector<std::string> names = {"A.ZIP", "B.ZIP", "C.ARJ", "*.ZIP", "?.ARJ", "*", "D.TXT", "A.*"};
    const std::vector<std::string> files = {"A.ZIP", "B.ZIP", "C.ARJ", "D.TXT", "E.ZIP"};
    std::uint64_t seed = 12345;
    auto next = [&seed](std::uint64_t n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    for (int line = 1; line <= 4000; ++line) {
        log.LineNo = line;
        TFidoAddr a;
        a.Zone = 2;
        a.Net = 5020;
        a.Node = static_cast<std::uint16_t>(1 + next(3));
        if (next(2) == 0) {
            const std::string& n = names[next(names.size())];
            log.AddFreq(n, a);
            model.Add(n, a, line);
        } else {
            const std::string& f = files[next(files.size())];
            log.FreqSent(f, "", a);
            model.Sent(f, a, line);
        }
    }
    ASSERT_EQ(log.Freqs.size(), model.Freqs.size());
    for (std::size_t i = 0; i < model.Freqs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log.Freqs[i].Request, model.Freqs[i].Request);
        EXPECT_EQ(log.Freqs[i].Freq.Name, model.Freqs[i].Freq.Name);
        EXPECT_EQ(log.Freqs[i].Freq.LineNo, model.Freqs[i].Freq.LineNo);
        EXPECT_EQ(log.Freqs[i].Freq.Sent, model.Freqs[i].Freq.Sent);
    }
}
