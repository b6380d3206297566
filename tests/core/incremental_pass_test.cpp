// The pass in steps: a log fed in pieces cut anywhere, settled now and then, gives the records of
// one pass over the whole text, for every mailer style; and the steps' own rules (a line waits
// for its end, a stopped pass takes no more, what each settling reports as new).
#include <gtest/gtest.h>

#include <limits>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "arguslog.h"
#include "base/datetime.h"
#include "binkdir.h"
#include "binklog.h"
#include "brakedir.h"
#include "brakelog.h"
#include "fhmaildir.h"
#include "parsers/arguslog.h"
#include "parsers/binkplog.h"
#include "parsers/brakelog.h"
#include "parsers/fhmaillog.h"
#include "parsers/sfmaillog.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "prng.h"
#include "sfmaildir.h"
#include "testdir.h"
#include "teststyle.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using tarvex::testing::Lines;
using tarvex::testing::TTestDir;
using tarvex::testing::TTestStyle;

namespace {

std::string Hex(double d)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%a", d);
    return buf;
}

std::string AddrText(const TFidoAddr& a)
{
    return std::to_string(a.Zone) + ":" + std::to_string(a.Net) + "/" + std::to_string(a.Node) + "." +
           std::to_string(a.Point) + a.Domain;
}

// Every field of every record and of the pass's bookkeeping, times to the last bit.
std::string Dump(const TMailerLog& log)
{
    std::string o = "lines " + std::to_string(log.LinesRead) + " sessions " + std::to_string(log.SessCount) + " of " +
                    std::to_string(log.Sessions.size()) + " days " + std::to_string(log.DayCount) + " mark " +
                    std::to_string(log.MarkLineNo) + " " + std::to_string(log.FirstNewFreq) + " " +
                    std::to_string(log.NewFreqCount) + " " + std::to_string(log.PastMark) + " state " +
                    std::to_string(log.SessState) + " open " +
                    (log.CurSess ? std::to_string(log.CurSess->StartLine) : std::string("-")) + "\n";
    for (const TNewDay& d : log.Days)
        o += "day " + std::to_string(d.LineNo) + " " + Hex(d.Date) + "\n";
    for (const TSess& s : log.Sessions)
        o += "sess " + std::to_string(s.StartLine) + " " + std::to_string(s.EndLine) + " " + Hex(s.StartTime) + " " +
             Hex(s.EndTime) + " " + (s.Addr ? AddrText(*s.Addr) : std::string("-")) + " " + std::to_string(s.Flags) +
             " [" + std::string(s.SysOp.View()) + "] [" + std::string(s.System.View()) + "] " + std::to_string(s.FilesSent) + " " +
             std::to_string(s.FilesRecd) + " " + std::to_string(s.BytesSent) + " " + std::to_string(s.BytesRecd) +
             " " + std::to_string(s.CPS) + "\n";
    for (std::size_t d = 0; d < log.DayStats.size(); ++d)
        for (const TNodeStat& n : log.DayStats[d])
            o += "node " + std::to_string(d) + " " + AddrText(n.Addr) + " " + std::to_string(n.Tries) + " " +
                 std::to_string(n.Busy) + " " + std::to_string(n.NoCarrier) + " " + std::to_string(n.OutSess) + " " +
                 std::to_string(n.InSess) + " " + std::to_string(n.BytesSent) + " " + std::to_string(n.BytesRecd) +
                 " " + std::to_string(n.Seconds) + " " + std::to_string(n.CPS) + "\n";
    for (const TFreqEntry& f : log.Freqs)
        o += "freq " + f.Request + " " + AddrText(f.Freq.Addr) + " " + std::to_string(f.Freq.Sent) + " " +
             std::to_string(f.Freq.LineNo) + " " + f.Freq.Name + " " + f.Freq.FilePath + " " +
             std::to_string(f.Freq.IsNew) + "\n";
    return o;
}

// Where two dumps part: empty when they do not; else the first line that differs in each.
std::string Difference(const std::string& got, const std::string& want)
{
    if (got == want)
        return {};
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at])
        ++at;
    const std::size_t from = got.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t start = from == std::string::npos ? 0 : from + 1;
    auto lineAt = [start](const std::string& s) { return s.substr(start, s.find('\n', start) - start); };
    return "got  " + lineAt(got) + "\nwant " + lineAt(want);
}

// One style: its mailer folder, a generated log, and a fresh log object set up to read it.
struct TStyleCase {
    const char* Name;
    std::function<void(const std::string& dir)> WriteDir;
    std::function<std::string(std::uint64_t seed)> BuildLog;
    std::function<std::unique_ptr<TMailerLog>()> MakeLog;
};

std::vector<TStyleCase> StyleCases()
{
    constexpr std::size_t kLines = 2500;
    std::vector<TStyleCase> cases;
    cases.push_back({"T-mail", [](const std::string& d) { WriteTMailDir(d, TMailDirOptions()); },
                     [](std::uint64_t seed) {
                         TMailLogOptions o;
                         o.Lines = kLines;
                         o.Seed = seed;
                         o.CrLf = seed % 2 == 0;
                         return BuildTMailLog(o, TMailDirOptions().Phrases);
                     },
                     [] { return std::make_unique<TTmailLog>(); }});
    for (const int version : {TBrakeLog::kOldVersion, TBrakeLog::kNewVersion})
        cases.push_back({version == TBrakeLog::kOldVersion ? "Brake! 701" : "Brake! 703",
                         [](const std::string& d) { WriteBrakeDir(d, TBrakeDirOptions()); },
                         [version](std::uint64_t seed) {
                             TBrakeLogOptions o;
                             o.Lines = kLines;
                             o.Seed = seed;
                             o.Version = version;
                             o.CrLf = seed % 2 == 1;
                             return BuildBrakeLog(o);
                         },
                         [version] {
                             auto log = std::make_unique<TBrakeLog>();
                             log->BrkVersion = version;
                             return log;
                         }});
    cases.push_back({"Bink/+", [](const std::string& d) { WriteBinkDir(d, TBinkDirOptions()); },
                     [](std::uint64_t seed) {
                         TBinkLogOptions o;
                         o.Lines = kLines;
                         o.Seed = seed;
                         o.CrLf = seed % 2 == 0;
                         return BuildBinkLog(o, TBinkDirOptions().Phrases);
                     },
                     [] { return std::make_unique<TBinkPLog>(); }});
    // FHMail's configuration names its files on drive C:, which the drive map puts in the test's
    // folder; where drive letters are the machine's own it names them bare instead.
    cases.push_back({"FHMail",
                     [](const std::string& d) {
                         TFHMailDirOptions o;
                         o.OnDrive = !tarvex::testing::kDrivesAreTheMachines;
                         WriteFHMailDir(d, o);
                     },
                     [](std::uint64_t seed) {
                         TFHMailLogOptions o;
                         o.Lines = kLines;
                         o.Seed = seed;
                         o.CrLf = seed % 2 == 1;
                         return BuildFHMailLog(o, TFHMailDirOptions().Phrases);
                     },
                     [] { return std::make_unique<TFHMailLog>(); }});
    cases.push_back({"SF-Mail", [](const std::string& d) { WriteSFMailDir(d, TSFMailDirOptions()); },
                     [](std::uint64_t seed) {
                         TSFMailLogOptions o;
                         o.Lines = kLines;
                         o.Seed = seed;
                         o.CrLf = seed % 2 == 0;
                         return BuildSFMailLog(o, TSFMailDirOptions().Phrases);
                     },
                     [] { return std::make_unique<TSFMailLog>(); }});
    cases.push_back({"Argus", [](const std::string&) {},
                     [](std::uint64_t seed) {
                         TArgusLogOptions o;
                         o.Lines = kLines;
                         o.Seed = seed;
                         o.CrLf = seed % 2 == 1;
                         return BuildArgusLog(o);
                     },
                     [] { return std::make_unique<TArgusLog>(); }});
    return cases;
}

// A log object of the case, reading the mailer folder, with the auto-new mark on a middle line.
std::unique_ptr<TMailerLog> MakeLog(const TStyleCase& c, const std::string& dir, const std::string& text)
{
    auto log = c.MakeLog();
    log->MailerPath = dir;
    log->AutoNew = true;
    const std::size_t mid = text.find('\n', text.size() / 2);
    log->LastStr = std::string(MarkOf(std::string_view(text).substr(mid == std::string::npos ? 0 : mid + 1)));
    return log;
}

// The one-shot pass's records over text, and the questions it asked.
std::pair<std::string, std::vector<std::string>> OneShot(const TStyleCase& c, const std::string& dir,
                                                         const std::string& text, std::string_view part)
{
    auto log = MakeLog(c, dir, text);
    TScriptedUserInterface ui;
    EXPECT_TRUE(log->Analyze(ui, {}, part));
    return {Dump(*log), ui.Transcript};
}

}  // namespace

// Pieces from one byte to a few kilobytes, cut inside lines and between CR and LF, with the
// records settled at random moments: every settling leaves what a pass over the lines so far
// would, the records that each settling reports as new are the whole lists in the end, and the
// end is the one-shot pass's, questions included.
TEST(IncrementalPass, PiecesCutAnywhereGiveTheOneShotRecordsForEveryStyle)
{
    SetProgramStartDate(EncodeDate(2026, 6, 15));
    const TTestDir scratch("incremental");
    for (const TStyleCase& c : StyleCases()) {
        SCOPED_TRACE(c.Name);
        const std::string dir = (scratch.Path / c.Name).string();
        std::filesystem::create_directories(dir);
        c.WriteDir(dir);
        SetDriveMap({{'C', dir}});
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE(seed);
            const std::string text = c.BuildLog(seed);
            const auto whole = OneShot(c, dir, text, text);

            auto log = MakeLog(c, dir, text);
            TScriptedUserInterface ui;
            ASSERT_TRUE(log->BeginPass(ui));
            SplitMix64 rng(seed * 7919);
            std::size_t at = 0, seenSessions = 0, seenDays = 0;
            int checks = 0;
            while (at < text.size()) {
                const std::uint32_t kind = rng.Below(4);
                const std::size_t n = kind == 0 ? 1 + rng.Below(3) : kind == 1 ? 1 + rng.Below(80) : 1 + rng.Below(6000);
                const std::size_t take = std::min(n, text.size() - at);
                ASSERT_TRUE(log->FeedPass(ui, std::string_view(text).substr(at, take)));
                at += take;
                if (rng.Below(8) != 0)
                    continue;
                const TPassGrowth g = log->SettlePass(ui);
                EXPECT_EQ(g.FirstSession, seenSessions);
                EXPECT_EQ(g.FirstDay, seenDays);
                seenSessions = log->Sessions.size();
                seenDays = log->Days.size();
                if (checks < 2 && rng.Below(10) == 0) {
                    // Settled, the records are a pass over the complete lines read.
                    ++checks;
                    const std::size_t complete = text.rfind('\n', at - 1);
                    const std::string_view lines =
                        complete == std::string::npos ? std::string_view() : std::string_view(text).substr(0, complete + 1);
                    EXPECT_EQ(log->HeldBytes(), at - lines.size());
                    EXPECT_EQ(Difference(Dump(*log), OneShot(c, dir, text, lines).first), "");
                }
            }
            ASSERT_TRUE(log->EndPass(ui));
            const TPassGrowth g = log->SettlePass(ui);
            EXPECT_EQ(g.FirstSession, seenSessions);
            EXPECT_EQ(g.LastLine, log->LinesRead);
            EXPECT_EQ(Difference(Dump(*log), whole.first), "");
            EXPECT_EQ(ui.Transcript, whole.second);
        }
    }
    ClearDriveMap();
}

namespace {

class IncrementalSteps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramStartDate(EncodeDate(2026, 3, 1));
        ASSERT_TRUE(Log.BeginPass(Ui));
    }
    bool Feed(std::string_view bytes) { return Log.FeedPass(Ui, bytes); }

    TTestStyle Log;
    TScriptedUserInterface Ui;
};

}  // namespace

// A line is read only once its LF is there, the CR before it belongs to the end wherever the
// pieces were cut, and the end of the text reads a last line that never got its end.
TEST_F(IncrementalSteps, ALineWaitsForItsEndAndTheEndOfTheTextReadsIt)
{
    EXPECT_TRUE(Feed("05/02 10:00:00 CONNECT IN\r"));
    EXPECT_EQ(Log.LinesRead, 0);
    EXPECT_EQ(Log.HeldBytes(), 26u);
    EXPECT_TRUE(Feed("\n05/02 10:00:01 ADDR 2:50"));
    EXPECT_EQ(Log.LinesRead, 1);
    EXPECT_EQ(Log.CurSess->StartLine, 1);
    EXPECT_TRUE(Feed("20/1\n05/02 10:00:09 END 10 20"));
    EXPECT_EQ(Log.LinesRead, 2);
    EXPECT_EQ(Log.SettlePass(Ui).FirstSession, 0u);
    EXPECT_EQ(Log.SessCount, 0);

    EXPECT_TRUE(Log.EndPass(Ui));
    EXPECT_FALSE(Feed("05/02 10:00:10 CONNECT IN\n"));  // the text has ended
    const TPassGrowth g = Log.SettlePass(Ui);
    EXPECT_EQ(g.FirstLine, 3);
    EXPECT_EQ(g.LastLine, 3);
    ASSERT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).EndLine, 3);
    EXPECT_EQ(Log.Session(0).Addr->Net, 5020);
    EXPECT_TRUE(Ui.Transcript.empty());
    EXPECT_FALSE(Ui.Busy);
}

// A question answered Cancel stops the pass: what follows is not read, and the records made so
// far settle as the one-shot pass leaves them.
TEST_F(IncrementalSteps, CancelStopsThePassForGood)
{
    Ui.AnswerCancel = true;
    EXPECT_FALSE(Feed(Lines({"05/02 10:00:00 CONNECT OUT", "05/02 10:00:01 THROW", "05/02 10:00:02 END 1 2"})));
    EXPECT_FALSE(Feed(Lines({"05/02 10:00:03 CONNECT IN"})));
    EXPECT_FALSE(Log.EndPass(Ui));
    Log.SettlePass(Ui);
    EXPECT_EQ(Log.LinesRead, 2);
    EXPECT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_FALSE(Ui.Busy);  // the steps never set the busy cursor, not even after a question
}

// Line numbers are 32-bit: the line past the last one they can number stops the pass and says
// so, and what came before stays.
TEST_F(IncrementalSteps, MoreLinesThanCanBeNumberedStopThePass)
{
    ASSERT_TRUE(Feed(Lines({"05/02 10:00:00 CONNECT IN"})));
    Log.LineNo = std::numeric_limits<std::int32_t>::max() - 1;
    EXPECT_FALSE(Feed(Lines({"05/02 10:00:01 ADDR 2:5020/1", "05/02 10:00:02 END 1 2"})));
    EXPECT_EQ(Log.LineNo, std::numeric_limits<std::int32_t>::max());
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_NE(Ui.Transcript[0].find("more than 2147483647 lines"), std::string::npos);
    ASSERT_TRUE(Log.CurSess);
    EXPECT_EQ(Log.CurSess->Addr->Node, 1);
    EXPECT_FALSE(Feed(Lines({"05/02 10:00:03 CONNECT IN"})));
    EXPECT_EQ(Log.LineNo, std::numeric_limits<std::int32_t>::max());
}

// What each settling reports: the day that went on keeps counting, a repeated request changes an
// earlier record, and the newest day's nodes come in address order at every settling.
TEST_F(IncrementalSteps, SettlingTellsWhatChanged)
{
    ASSERT_TRUE(Feed(Lines({"05/02 10:00:00 DIAL 2:5020/9", "05/02 10:00:01 CONNECT OUT", "05/02 10:00:02 ADDR 2:5020/9",
                            "05/02 10:00:03 FREQ A.ZIP", "05/02 10:00:04 FREQ B.ZIP", "05/02 10:00:05 END 1 2"})));
    TPassGrowth g = Log.SettlePass(Ui);
    EXPECT_EQ(g.FirstDay, 0u);
    EXPECT_EQ(g.FirstFreq, 0u);
    EXPECT_EQ(g.LastLine, 6);

    ASSERT_TRUE(Feed(Lines({"05/02 11:00:00 DIAL 2:5020/1", "05/02 11:00:01 CONNECT OUT", "05/02 11:00:02 ADDR 2:5020/1",
                            "05/02 11:00:03 END 1 2", "05/02 12:00:00 CONNECT IN", "05/02 12:00:01 ADDR 2:5020/9",
                            "05/02 12:00:02 FREQ B.ZIP", "05/02 12:00:03 END 1 2"})));
    g = Log.SettlePass(Ui);
    EXPECT_EQ(g.FirstLine, 7);
    EXPECT_EQ(g.FirstSession, 1u);
    EXPECT_EQ(g.FirstNodeDay, 0u);
    EXPECT_EQ(g.FirstFreq, 1u);  // B.ZIP asked again by the same node: its record moved on
    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).Addr.Node, 1);

    ASSERT_TRUE(Feed(Lines({"06/02 00:00:01 DIAL 2:5020/5"})));
    g = Log.SettlePass(Ui);
    EXPECT_EQ(g.FirstDay, 1u);
    EXPECT_EQ(g.FirstNodeDay, 0u);
    EXPECT_EQ(g.FirstFreq, 2u);
    EXPECT_EQ(Log.NodeCount(1), 1);
}
