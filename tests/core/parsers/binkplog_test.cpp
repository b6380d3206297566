#include <gtest/gtest.h>

#include <filesystem>

#include "binkdir.h"
#include "binklog.h"
#include "binklogwriter.h"
#include "brakedir.h"
#include "parsers/binkplog.h"
#include "parsertest.h"
#include "platform/paths.h"
#include "tmaildir.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;
namespace fs = std::filesystem;

namespace {

class BinkPTest : public TMailerDirTest<TBinkPLog, TBinkLogWriter, TBinkDirOptions, &WriteBinkDir>
{
protected:
    BinkPTest() : TMailerDirTest("binkp", "binkley.cfg", true, TBinkLogWriter(TBinkPhrases())) { StartAt(2026, 3, 7); }

    void SetUp() override { SetProgramStartDate(EncodeDate(2026, 6, 15)); }

    // Connect (inbound unless a call was just logged), remote and sysop: state 3.
    void Handshake(std::string_view addr)
    {
        W.Connect();
        W.Remote("Back BBS", addr);
        W.SysOp("Petr Orlov", "Tver");
    }
};

}  // namespace

TEST_F(BinkPTest, CallsAndTheirOutcomes)
{
    W.Calling("Hub", "2:5020/52");
    W.Busy();
    W.Calling("Hub", "2:5020/52");
    W.NoCarrier();
    W.Busy();  // the call was forgotten with the line before
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty());
    ASSERT_EQ(Log.NodeCount(0), 1);
    EXPECT_EQ(Log.Node(0, 0).Tries, 2);
    EXPECT_EQ(Log.Node(0, 0).Busy, 1);
    EXPECT_EQ(Log.Node(0, 0).NoCarrier, 1);
}

// A connect right after the call is ours; lines of other tasks do not come between them, a line
// of this task does. The session opened by our call counts for the node called.
TEST_F(BinkPTest, ConnectAfterTheCallIsOutgoing)
{
    W.Calling("Hub", "2:5020/52");
    W.SetTask("MAIL");
    W.Msg("Scanning netmail");
    W.SetTask("BINK");
    Handshake("2:5020/52");
    W.Tick(10);
    W.EndOfSession();
    W.Calling("Hub", "2:5020/52");
    W.PhraseLine(353);
    Handshake("2:5030/15");
    W.EndOfSession();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    EXPECT_EQ(Log.Session(0).Flags & sfInbound, 0);
    EXPECT_EQ(Log.Session(1).Flags & sfInbound, sfInbound);
    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).Addr.ToString(), "2:5020/52");
    EXPECT_EQ(Log.Node(0, 0).Tries, 2);
    EXPECT_EQ(Log.Node(0, 0).OutSess, 1);
    EXPECT_EQ(Log.Node(0, 0).Seconds, 10);
    EXPECT_EQ(Log.Node(0, 1).InSess, 1);
}

TEST_F(BinkPTest, SessionFieldsFlagsAndByteCounts)
{
    Handshake("2:5020/52");
    W.Password();
    W.ReceiveFile("A.PKT", 1000, 100);
    W.ReceiveFile("B.PKT", 500, 100);
    W.SendFile("C:\\OUT\\C.PKT", 300, 100);
    W.Tick(10);
    W.EndOfSession();
    Handshake("2:5030/15");
    W.BadPassword("SECRET");
    W.SysOp("Not Read", "Again");
    W.TransferAborted("carrier lost");
    W.EndOfSession();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    const TSess& a = Log.Session(0);
    EXPECT_EQ(a.System, "Back BBS");
    EXPECT_EQ(a.Addr->ToString(), "2:5020/52");
    EXPECT_EQ(a.SysOp, "Petr Orlov");
    EXPECT_EQ(a.Flags, sfFirstOfDay | sfInbound | sfOK | sfPassword);
    EXPECT_EQ(a.FilesRecd, 2);
    EXPECT_EQ(a.FilesSent, 1);
    EXPECT_EQ(a.BytesRecd, 1500);
    EXPECT_EQ(a.BytesSent, 300);
    EXPECT_EQ(a.CPS, 150);
    const TSess& b = Log.Session(1);
    EXPECT_EQ(b.Flags, sfInbound | sfBadPassword);
    EXPECT_EQ(b.SysOp, "Petr Orlov");
}

// Bytes reported before any file of a session are received bytes: the last session's direction
// does not carry over.
TEST_F(BinkPTest, DirectionOfBytesStartsAfreshInEachSession)
{
    Handshake("2:5020/52");
    W.SendFile("C:\\OUT\\C.PKT", 300, 100);
    W.EndOfSession();
    Handshake("2:5030/15");
    W.Cps(700, 100);
    W.EndOfSession();
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Session(1).BytesRecd, 700);
    EXPECT_EQ(Log.Session(1).BytesSent, 0);
}

TEST_F(BinkPTest, HumanCallersEndWithTheNextLineOfTheTask)
{
    W.Connect("2400");
    W.Human();
    W.SetTask("MAIL");
    W.Msg("Tossing");
    W.SetTask("BINK");
    W.Msg("Caller left");
    W.Connect("2400");
    W.Bbs();
    W.Msg("Back");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    EXPECT_EQ(Log.Session(0).EndLine, 4);
    EXPECT_EQ(SessDescription(Log.Session(0)), "Human caller");
    EXPECT_EQ(Log.Session(1).EndLine, 7);
    EXPECT_TRUE(Log.Session(1).Flags & sfHuman);
}

TEST_F(BinkPTest, FailuresOfTheHandshake)
{
    W.Connect();
    W.Aborted("no response");
    W.Remote("Ignored", "2:5020/1");  // nothing is read after phrase 102
    W.EndOfSession();
    Handshake("2:5020/52");
    W.Aborted("late");
    W.EndOfSession();
    W.Connect();
    W.FailedRaw();
    W.Connect();
    W.Msg("Unable to establish session");  // without its class byte: not phrase 273
    W.EndOfSession();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 4);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound | sfFailed);
    EXPECT_FALSE(Log.Session(0).Addr);
    EXPECT_EQ(Log.Session(1).Flags, sfInbound);
    EXPECT_EQ(Log.Session(1).Addr->ToString(), "2:5020/52");
    EXPECT_EQ(Log.Session(2).Flags, sfInbound | sfFailed);
    EXPECT_EQ(Log.Session(2).EndLine, 11);
    EXPECT_EQ(Log.Session(3).Flags, sfInbound | sfOK);
}

TEST_F(BinkPTest, RemoteLineWithoutAnAddressIsNotTheRemote)
{
    W.Connect();
    W.Msg("Protocol :-)");
    W.Remote("Back BBS", "2:5020/52");
    W.EndOfSession();
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Session(0).System, "Back BBS");
}

TEST_F(BinkPTest, RequestsAliasesAndSentFiles)
{
    Handshake("2:5020/52");
    W.FileRequest("TOOLS");   // magic name of the OkFile
    W.FileRequest("about");   // magic name of About
    W.FileRequest("NEWS.TXT");
    W.SendFile("C:\\FILES\\UTILS\\TOOL.ZIP", 100, 10);
    W.SendFile("C:\\FILES\\ABOUT.TXT", 100, 10);
    W.SendFile("C:\\FILES\\NODELIST\\NEWS.TXT", 100, 10, false);
    W.EndOfSession();
    Handshake("2:5030/15");
    W.FileRequest("*.ZIP");
    W.SendFile("C:\\FILES\\NODELIST\\NODELIST.ZIP", 100, 10);
    W.SendFile("C:\\FILES\\NODELIST\\NODEDIFF.ZIP", 100, 10);
    W.EndOfSession();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.Aliases.size(), 4u);
    EXPECT_EQ(Log.Aliases[0].Magic, "ABOUT");
    EXPECT_EQ(Log.Aliases[0].Alias.Path, "C:\\FILES\\ABOUT.TXT");  // %FILES% replaced
    EXPECT_EQ(Log.Aliases[1].Magic, "FILES");
    EXPECT_EQ(Log.Aliases[3].Magic, "TOOLS");  // the '@' line behind two blanks
    EXPECT_EQ(Log.Aliases[3].Alias.FileName, "TOOL.ZIP");
    ASSERT_NE(FindFreq("TOOLS"), nullptr);
    EXPECT_TRUE(FindFreq("TOOLS")->Sent);
    EXPECT_EQ(FindFreq("TOOLS")->FilePath, "C:\\FILES\\UTILS\\TOOL.ZIP");
    ASSERT_NE(FindFreq("ABOUT"), nullptr);
    EXPECT_TRUE(FindFreq("ABOUT")->Sent);
    ASSERT_NE(FindFreq("NEWS.TXT"), nullptr);
    EXPECT_FALSE(FindFreq("NEWS.TXT")->Sent);
    ASSERT_NE(FindFreq("*.ZIP", 1), nullptr);
    EXPECT_EQ(FindFreq("*.ZIP", 0)->Name, "NODELIST.ZIP");
    EXPECT_EQ(FindFreq("*.ZIP", 1)->Name, "NODEDIFF.ZIP");
}

TEST_F(BinkPTest, DatesTimesAndDamagedLines)
{
    W.SetDate(2026, 12, 31);
    W.Msg("Last day");
    W.SetDate(2027, 1, 1);
    W.Msg("First day");
    W.Raw("+ 05 Foo 10:00:00 BINK Busy");
    W.Connect();
    W.Remote("Back BBS", "2:5020/52");
    W.SysOp("Petr", "");
    W.Msg("CPS: 12 (lots of bytes)");  // not a number after '(': asked
    W.Msg("Sent-Zmodem");              // no path
    W.EndOfSession();
    ASSERT_TRUE(Run());
    ASSERT_GE(Log.DayCount, 2);
    // The year is the program's, never the log's; a date after the start date is last year's.
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(2025, 12, 31));
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(2026, 1, 1));
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0], "Invalid date at line 3\n\rContinue processing?");
    EXPECT_EQ(Ui.Transcript[1].rfind("Error analyzing log at line 7:\n\r'lots' is not a valid integer value", 0), 0u);
    EXPECT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).SysOp, "");
}

TEST_F(BinkPTest, MissingFilesStopThePassWithTheirMessages)
{
    Opt.WriteLng = false;
    WriteBinkDir(Dir.string(), Opt);
    W.Msg("x");
    EXPECT_FALSE(Run());
    EXPECT_EQ(Ui.Transcript, std::vector<std::string>{"Cannot open .LNG file"});

    // Short: the table promises more phrases than the file holds.
    std::string lng = BuildBinkleyLng(Opt.Phrases);
    lng.resize(lng.size() / 2);
    WriteFileBytes((Dir / "binkley.lng").string(), lng);
    Ui.Transcript.clear();
    EXPECT_FALSE(Run());
    EXPECT_EQ(Ui.Transcript, std::vector<std::string>{"Cannot open .LNG file"});

    fs::remove(Dir / "okfile.lst");
    Ui.Transcript.clear();
    EXPECT_FALSE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error loading config file: ", 0), 0u);
    EXPECT_NE(Ui.Transcript[0].find("okfile.lst"), std::string::npos);

    fs::remove(Dir / "binkley.cfg");
    Ui.Transcript.clear();
    EXPECT_FALSE(Log.Analyze(Ui, {}, W.Text()));
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error loading config file:\r\nCannot open file ", 0), 0u);
}

TEST_F(BinkPTest, PhrasesAreTakenOnceFromTheFirstTable)
{
    WriteBinkDir(Dir.string(), Opt);
    ASSERT_TRUE(Run());
    const auto phrases = Log.TakenPhrases();
    ASSERT_EQ(phrases.size(), 16u);
    EXPECT_EQ(phrases[0], (std::pair<std::string, std::string>{"100", "Begin,"}));
    EXPECT_EQ(phrases[7], (std::pair<std::string, std::string>{"273", "!Unable to establish session"}));
    EXPECT_EQ(phrases[15], (std::pair<std::string, std::string>{"251", "CPS: "}));
    fs::remove(Dir / "binkley.lng");
    EXPECT_TRUE(Run());  // loaded once, kept with the log
}

TEST_F(BinkPTest, ColouringOfBinkLines)
{
    WriteBinkDir(Dir.string(), Opt);
    ASSERT_TRUE(Run());
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"!", 0}, {"07", 2}, {"Mar", 5}, {"10:00:00", 9}, {"BINK", 18}, {"x", 23}}),
              (std::vector<C>{C::Errors, C::DateTime, C::DateTime, C::DateTime, C::Errors, C::Errors}));
    EXPECT_EQ(Colours(2, {{"+", 0}, {"BINK", 18}, {"Begin,more", 23}, {"x", 30}}),
              (std::vector<C>{C::Normal, C::Special, C::Info, C::Info}));
    EXPECT_EQ(Colours(3, {{"Connect", 23}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(4, {{"Scanning", 23}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(5, {{"Sending", 23}}), (std::vector<C>{C::Transfers}));
    EXPECT_EQ(Colours(6, {{"Received-Zmodem", 23}}), (std::vector<C>{C::Transfers}));
    EXPECT_EQ(Colours(7, {{"Human", 23}, {"caller", 29}}), (std::vector<C>{C::Special, C::Special}));
    EXPECT_EQ(Colours(8, {{"Calling", 23}, {"Connect", 31}}), (std::vector<C>{C::Normal, C::Normal}));
}

// Whatever bytes a log holds, the pass asks and goes on; it never reads outside a line.
TEST_F(BinkPTest, HostileBytesNeverBreakThePass)
{
    TBinkLogOptions options;
    options.Lines = 3000;
    options.Seed = 99;
    std::string text = BuildBinkLog(options, Opt.Phrases);
    DamageBytes(text, 11, "()9 ");
    WriteBinkDir(Dir.string(), Opt);
    EXPECT_TRUE(Log.Analyze(Ui, {}, text));
    EXPECT_GT(Ui.Transcript.size(), 0u);
    ExpectSessionsInOrder(Log);
    FeedCutLines(Log, {"", "+", "+ 07", "+ 07 Mar 10:00:00 BINK", "+ 07 Mar 10:00:00 BINK )",
                       "+ 07 Mar 10:00:00 BINK (", "+ 07 Mar 10:00:00 BINK Calling "});
}

// The golden cases' mailer files are our generators' output; a drift would make their
// hand-worked expectations stale.
TEST(GoldenMailerFiles, CommittedFilesMatchTheGenerators)
{
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(std::string(TARVEX_GOLDEN_DIR) + "/binkp_basic/mailer/binkley.lng", bytes));
    EXPECT_EQ(bytes, BuildBinkleyLng(TBinkPhrases()));
    ASSERT_TRUE(ReadWholeFile(std::string(TARVEX_GOLDEN_DIR) + "/binkp_basic/mailer/binkley.cfg", bytes));
    EXPECT_EQ(bytes, BuildBinkleyCfg(TBinkDirOptions()));
    ASSERT_TRUE(ReadWholeFile(std::string(TARVEX_GOLDEN_DIR) + "/binkp_basic/mailer/okfile.lst", bytes));
    EXPECT_EQ(bytes, BuildOkFile(DefaultTMailWorld()));
    ASSERT_TRUE(ReadWholeFile(std::string(TARVEX_GOLDEN_DIR) + "/brake_basic/mailer/brake!.ctl", bytes));
    EXPECT_EQ(bytes, BuildBrakeCtl(TBrakeDirOptions()));
}
