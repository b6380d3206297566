#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "log/dlcupdate.h"
#include "parsers/tmaillog.h"
#include "parsertest.h"
#include "platform/paths.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;
namespace fs = std::filesystem;

namespace {

class TMailTest : public TMailerDirTest<TTmailLog, TMailLogWriter, TMailDirOptions, &WriteTMailDir>
{
protected:
    TMailTest() : TMailerDirTest("tmail", "t-mail.ctl", true, TMailLogWriter(TMailPhrases())) { StartAt(2026, 2, 5); }

    void SetUp() override { SetProgramStartDate(EncodeDate(2026, 6, 15)); }

    void WriteDir() { WriteMailerFiles(); }
};

}  // namespace

TEST_F(TMailTest, DialsCountPerNodeAndUnknownNamesCountNothing)
{
    W.Dial("2:5020/200", "BUSY");
    W.Dial("Boss", "NO CARRIER");  // an alias of 2:5020/1
    W.Call("Hub North", "NO ANSWER");
    W.Dial("?Unlisted", "BUSY");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.NodeCount(0), 3);
    EXPECT_EQ(Log.Node(0, 0).Addr.ToString(), "2:5020/1");
    EXPECT_EQ(Log.Node(0, 0).NoCarrier, 1);
    EXPECT_EQ(Log.Node(0, 1).Addr.ToString(), "2:5020/52");
    EXPECT_EQ(Log.Node(0, 1).Tries, 1);
    EXPECT_EQ(Log.Node(0, 1).Busy + Log.Node(0, 1).NoCarrier, 0);
    EXPECT_EQ(Log.Node(0, 2).Addr.ToString(), "2:5020/200");
    EXPECT_EQ(Log.Node(0, 2).Busy, 1);
    EXPECT_FALSE(Log.DialAddr);
}

TEST_F(TMailTest, InboundAndOutboundSessionsCountOnTheirNodes)
{
    W.Dial("2:5020/200", "CONNECT 28800");
    W.Connect(false, "CONNECT 28800");
    W.Address("2:5020/200");
    W.SysOp("Petr", ", Tver");
    W.System("Back BBS", ", Tver");
    W.Sent("C:\\OUT\\A.PKT", true, 4000);
    W.Recd("B.PKT", true, 12000);
    W.Tick(40);
    W.Traffic(12000, 4000, 300);
    W.Tick(60);
    W.Connect(true);
    W.Address("2:5030/15, 2:5030/15.1");
    W.Tick(20);
    W.SessionClosed();
    W.Raw("05/02 10:05:00 CONNECT 9600");  // no 254 at column 16: not a session
    W.Line("2:5020/999");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    const TSess& out = Log.Session(0);
    EXPECT_EQ(out.Flags, sfOK | sfFirstOfDay);
    EXPECT_EQ(out.SysOp, "Petr");
    EXPECT_EQ(out.System, "Back BBS");
    EXPECT_EQ(out.BytesRecd, 12000);
    EXPECT_EQ(out.BytesSent, 4000);
    EXPECT_EQ(out.FilesSent, 1);
    EXPECT_EQ(out.FilesRecd, 1);
    EXPECT_EQ(out.CPS, 300);
    const TSess& in = Log.Session(1);
    EXPECT_EQ(in.Flags, sfOK | sfInbound);
    EXPECT_EQ(in.Addr->ToString(), "2:5030/15");
    EXPECT_EQ(SessDescription(in), "In 2:5030/15");

    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).Addr.ToString(), "2:5020/200");
    EXPECT_EQ(Log.Node(0, 0).OutSess, 1);
    EXPECT_EQ(Log.Node(0, 0).Seconds, 40);
    EXPECT_EQ(Log.Node(0, 1).Addr.ToString(), "2:5030/15");
    EXPECT_EQ(Log.Node(0, 1).InSess, 1);
    EXPECT_EQ(Log.SessState, 0);
}

TEST_F(TMailTest, SessionFlagsFromTheirPhrases)
{
    W.Connect(true);
    W.Human();
    W.Line("hello");
    W.HumanEnd();
    W.Connect(true);
    W.Fts1();
    W.Failed("no handshake");
    W.Connect(true);
    W.Address("2:5020/1");
    W.SysOp("A");
    W.System("B");
    W.Password();
    W.BadPassword("x");
    W.Error(424, "now");
    W.Traffic(0, 0, 0);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 3);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound | sfOK | sfHuman);
    EXPECT_EQ(SessDescription(Log.Session(0)), "Human caller");
    EXPECT_EQ(Log.Session(1).Flags, sfInbound | sfFailed | sfFTS1);
    EXPECT_EQ(Log.Session(2).Flags, sfInbound | sfPassword | sfBadPassword);
}

TEST_F(TMailTest, RequestsAndSentFiles)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    W.Connect(true);
    W.Address("2:5020/300");
    W.SysOp("A");
    W.System("B");
    W.Freq("FILES");
    W.Freq("*.ZIP");
    W.Sent("C:\\FILES\\ALLFILES.ZIP", true);
    W.Sent("C:\\FILES\\UTILS\\TOOL.ZIP", true);
    W.Sent("GAME.ZIP", false);  // not OK: counted, not recorded
    W.Sent("GAME.ZIP", true);
    W.Traffic(0, 3000, 100);
    ASSERT_TRUE(Run());
    // The last matching request takes a sent file, so the wildcard answers all three and the
    // magic name stays unsent.
    ASSERT_EQ(Log.Freqs.size(), 4u);
    EXPECT_EQ(Log.Freqs[0].Request, "FILES");
    EXPECT_EQ(Log.Freqs[0].Freq.Name, "ALLFILES.ZIP");
    EXPECT_FALSE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[1].Request, "*.ZIP");
    EXPECT_EQ(Log.Freqs[1].Freq.FilePath, "C:\\FILES\\ALLFILES.ZIP");
    EXPECT_EQ(Log.Freqs[2].Freq.Name, "TOOL.ZIP");
    EXPECT_EQ(Log.Freqs[3].Freq.Name, "GAME.ZIP");
    EXPECT_EQ(Log.Freqs[3].Freq.FilePath, "");
    EXPECT_EQ(Log.Session(0).FilesSent, 4);

    // The counter update finds GAME.ZIP through the files index and the areas.
    RunDlcUpdate(Log, Ui, TDlcFormat{});
    std::ifstream f(Dir / "FILES" / "UTILS" / "files.bbs", std::ios::binary);
    std::string bbs((std::istreambuf_iterator<char>(f)), {});
    EXPECT_NE(bbs.find("TOOL.ZIP      Handy tool for sysops [010]"), std::string::npos) << bbs;
    EXPECT_NE(bbs.find("GAME.ZIP      [001] A small game"), std::string::npos) << bbs;
    EXPECT_TRUE(Ui.Transcript.empty());
}

TEST_F(TMailTest, LocateFileUsesTheIndexThenTheAreas)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    WriteDir();
    Run();
    EXPECT_EQ(Log.LocateFile("NEWS.TXT"), "C:\\FILES\\NODELIST\\NEWS.TXT");
    EXPECT_EQ(Log.LocateFile("NOPE.ZIP"), "");
    ASSERT_FALSE(Log.FilesIndexes.empty());
    fs::remove(ResolvePath(Log.FilesIndexes[0]));
    // Index gone: the error is told, the areas still answer.
    EXPECT_TRUE(Ui.Transcript.empty());
    TScriptedUserInterface ui2;
    Log.Freqs.push_back({"ABOUT.TXT", {}});
    Log.Freqs.back().Freq.Sent = true;
    Log.Freqs.back().Freq.Name = "ABOUT.TXT";
    Log.UpdateFreqDLC(static_cast<std::int32_t>(Log.Freqs.size() - 1), ui2, TDlcFormat{});
    ASSERT_EQ(ui2.Transcript.size(), 1u);
    EXPECT_EQ(ui2.Transcript[0].rfind("Cannot open files index ", 0), 0u);
    EXPECT_EQ(Log.Freqs.back().Freq.FilePath, "C:\\FILES\\ABOUT.TXT");
}

TEST_F(TMailTest, BlocksKeepTheirDayAndSkipTheirLines)
{
    W.Line("first");
    W.ModemInit();
    W.SetDate(2026, 2, 6);
    W.Line("Dialing 2:5020/1, 555, BUSY");  // inside the block: ignored, no day
    W.ModemOk();
    W.TraceStart();
    W.Line("ignored line after the trace phrase");
    W.SetDate(2026, 2, 7);
    W.Line("a dated line that is not trusted");
    W.TraceEnd("end of trace");  // '!' at column 16 ends the block and dates again
    ASSERT_TRUE(Run());
    // The modem block holds its day (its dial line still counts); the trace block holds its
    // day until the '!' line.
    ASSERT_EQ(Log.DayCount, 3);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(2026, 2, 5));
    EXPECT_EQ(Log.NodeCount(0), 1);
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(2026, 2, 6));
    EXPECT_EQ(Log.Day(1).LineNo, 5);
    EXPECT_EQ(Log.Day(2).Date, EncodeDate(2026, 2, 7));
    EXPECT_EQ(Log.Day(2).LineNo, 8);
}

// A log read in the new year that still holds last December's lines dates them last December.
TEST_F(TMailTest, NewYearDatesDecemberInTheYearBefore)
{
    SetProgramStartDate(EncodeDate(2026, 1, 1));
    W.SetDate(2025, 12, 31);
    W.Line("old year");
    W.SetDate(2026, 1, 1);
    W.Line("new year");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(2025, 12, 31));
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(2026, 1, 1));
}

// Dates are kept from line to line: a new program year between passes must still show.
TEST_F(TMailTest, AnotherPassAfterTheYearChanged)
{
    W.Line("first");
    W.SetDate(2026, 2, 6);
    W.Line("second");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(2026, 2, 6));
    SetProgramStartDate(EncodeDate(2024, 3, 1));
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(2024, 2, 5));
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(2024, 2, 6));
}

TEST_F(TMailTest, MalformedLinesAskAndGoOn)
{
    W.Connect(true);
    W.Line("2:x/1 bad address");
    W.Separator();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error analyzing log at line 2:\n\r", 0), 0u);
    EXPECT_EQ(Ui.Transcript[1], "Invalid date at line 3\n\rContinue processing?");
}

TEST_F(TMailTest, MissingLanguageOrAliasFile)
{
    Opt.WriteLng = false;
    WriteDir();
    EXPECT_FALSE(Run());
    EXPECT_FALSE(Log.PassStarted);
    EXPECT_EQ(Ui.Transcript, std::vector<std::string>{"Cannot open .LNG file"});

    fs::remove_all(Dir);
    Opt.WriteLng = true;
    Opt.WriteAliasFile = false;
    WriteDir();
    Ui.Transcript.clear();
    W.Dial("Boss", "BUSY");
    EXPECT_TRUE(Run());
    EXPECT_EQ(Ui.Transcript.at(0), "Cannot open address alias file");
    // Without aliases the name is no address.
    EXPECT_EQ(Ui.Transcript.at(1).rfind("Error analyzing log at line 1:", 0), 0u);
}

TEST_F(TMailTest, ConfigErrorsNameFileAndLine)
{
    WriteDir();
    std::ofstream(Dir / "t-mail.ctl", std::ios::app) << "Freq_Dir \"unclosed\n";
    EXPECT_FALSE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_NE(Ui.Transcript[0].find("Error loading config file (file "), std::string::npos);
    EXPECT_NE(Ui.Transcript[0].find("Unmatched quotes"), std::string::npos);
}

TEST_F(TMailTest, ColouringOfTMailLines)
{
    WriteDir();
    Run();  // loads the words of the language table
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"05/02", 0}, {"10:00:00", 6}, {"ZS-", 15}, {"A.ZIP", 19}, {"cancelled.", 30}, {"x", 41}}),
              (std::vector<C>{C::DateTime, C::DateTime, C::Transfers, C::Transfers, C::Errors, C::Errors}));
    EXPECT_EQ(Colours(2, {{"\xFE", 15}, {"Traffic", 17}}), (std::vector<C>{C::Info, C::Info}));
    EXPECT_EQ(Colours(3, {{"Human", 15}, {"caller", 21}}), (std::vector<C>{C::Special, C::Special}));
    EXPECT_EQ(Colours(4, {{"FAILED:", 15}}), (std::vector<C>{C::Errors}));
    EXPECT_EQ(Colours(5, {{"Info:", 15}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(6, {{"T-Mail", 15}, {"started", 22}}), (std::vector<C>{C::Info, C::Info}));
    EXPECT_EQ(Colours(7, {{"AB-CD", 15}, {"more", 21}}), (std::vector<C>{C::Normal, C::Normal}));
    EXPECT_EQ(Colours(8, {{"Dialing", 15}}), (std::vector<C>{C::Normal}));
}

// Whatever bytes a log holds, the pass asks and goes on; it never reads outside a line.
TEST_F(TMailTest, HostileBytesNeverBreakThePass)
{
    TMailLogOptions options;
    options.Lines = 3000;
    options.Seed = 99;
    options.WithBlock256 = true;
    std::string text = BuildTMailLog(options, TMailPhrases());
    // Flip, cut and NUL bytes all over the log, but keep some structure so deep states are met.
    DamageBytes(text, 7, "\xFE");
    WriteDir();
    EXPECT_TRUE(Log.Analyze(Ui, {}, text));
    EXPECT_GT(Ui.Transcript.size(), 0u);
    ExpectSessionsInOrder(Log);

    // And lines that are nothing but the start of a layout.
    FeedCutLines(Log, {"0", "05", "05/0", "05/02 1", "05/02 10:00:00", "05/02 10:00:00 ", "\xFE", "/"}, false);
}
