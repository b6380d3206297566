#include <gtest/gtest.h>

#include <filesystem>

#include "fhmaildir.h"
#include "fhmaillogwriter.h"
#include "parsers/fhmaillog.h"
#include "parsertest.h"
#include "platform/paths.h"
#include "tmaildir.h"
#include "windowspaths.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;
namespace fs = std::filesystem;

namespace {

class FHMailTest : public TMailerDirTest<TFHMailLog, TFHMailLogWriter, TFHMailDirOptions, &WriteFHMailDir>
{
protected:
    FHMailTest() : TMailerDirTest("fhmail", "fhmail.cfg", true) { StartAt(2026, 3, 7); }
    // The fixture's configuration names its language file on drive C:.
    void SetUp() override { TARVEX_SKIP_ON_WINDOWS_PATHS(); }

    void Presented(std::string_view addr, bool inbound = true)
    {
        if (inbound)
            W.Ring();
        else
            W.Dialing(addr);
        W.Connect();
        W.RemoteAddress(addr);
        W.RemoteName("Back BBS");
        W.RemoteSysop("Petr Orlov", "Tver");
    }
};

}  // namespace

TEST_F(FHMailTest, DialsRingsAndTheKindOfEachSession)
{
    W.Dialing("#5550100");  // a phone number: no node dialled
    W.Busy();
    W.Dialing("2:5020/52");
    W.Busy();
    W.Dialing("2:5020/52");
    W.NoCarrier();
    W.Dialing("");  // nothing after the phrase
    W.Dialing("2:5020/52");
    W.RemoteAddress("2:5020/52");
    W.Complete();
    W.Ring();
    W.RemoteAddress("2:5030/15");
    W.Complete();
    W.RemoteAddress("2:5030/15");  // neither a ring nor a dial: outbound
    W.Complete();
    W.SetTask("TOSS");
    W.RemoteAddress("2:5040/1");  // another task's line
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty()) << Ui.Transcript.front();
    ASSERT_EQ(Log.SessCount, 3);
    EXPECT_EQ(Log.Session(0).Flags & sfInbound, 0);
    EXPECT_EQ(Log.Session(1).Flags & sfInbound, sfInbound);
    EXPECT_EQ(Log.Session(2).Flags & sfInbound, 0);
    ASSERT_GE(Log.NodeCount(0), 2);
    const TNodeStat& n = Log.Node(0, 0);
    EXPECT_EQ(n.Addr.ToString(), "2:5020/52");
    EXPECT_EQ(n.Tries, 3);
    EXPECT_EQ(n.Busy, 1);
    EXPECT_EQ(n.NoCarrier, 1);
    EXPECT_EQ(n.OutSess, 1);
}

TEST_F(FHMailTest, SessionDetailsAndByteCounts)
{
    Presented("2:5020/52");
    W.Password();
    W.BadPassword();
    W.Send("C:\\FH\\OUT\\A.PKT", "A.PKT");
    W.Sent("A.PKT", 1000);
    W.PartiallySent(300, "B.PKT");
    W.Recv("X.SU0", 2000);
    W.Msg("Z-recv");  // no byte count: not counted
    W.Complete();
    Presented("2:5030/15", false);
    W.Sent("C.PKT", 500);
    W.Complete(7000, 8000);  // the summary's counts stand
    W.Ring();
    W.RemoteAddress("2:5020/1");
    W.RemoteName("Quiet");
    W.RemoteSysop("Olga Orlova", "");  // no place: no name
    W.CarrierLost();
    W.Complete();
    W.Ring();
    W.RemoteAddress("2:5020/1");
    W.SessionAbort();
    W.NoCarrier();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 4);
    const TSess& a = Log.Session(0);
    EXPECT_EQ(a.Flags, sfFirstOfDay | sfInbound | sfOK | sfPassword | sfBadPassword);
    EXPECT_EQ(a.System, "Back BBS");
    EXPECT_EQ(a.SysOp, "Petr Orlov");
    EXPECT_EQ(a.FilesSent, 1);
    EXPECT_EQ(a.BytesSent, 1300);
    EXPECT_EQ(a.FilesRecd, 1);
    EXPECT_EQ(a.BytesRecd, 2000);
    EXPECT_EQ(Log.Session(1).BytesSent, 7000);
    EXPECT_EQ(Log.Session(1).BytesRecd, 8000);
    EXPECT_EQ(Log.Session(2).SysOp, "");
    EXPECT_EQ(Log.Session(2).Flags & sfOK, 0);
    EXPECT_EQ(Log.Session(3).Flags & (sfOK | sfFailed), 0);
}

TEST_F(FHMailTest, RequestsThroughTheAliasList)
{
    Presented("2:5020/52");
    W.Freq("NODELIST");
    W.Send("C:\\FH\\NODELIST.ZIP", "NODELIST.ZIP");
    W.Sent("NODELIST.ZIP", 5000);
    W.Freq("NONE.ZIP");
    W.Complete();
    Presented("2:5020/52");
    W.Sent("NONE.ZIP", 10);  // announced in no send: line of this session
    W.Complete();
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty()) << Ui.Transcript.front();
    ASSERT_NE(Log.FindAlias("NODELIST"), nullptr);
    ASSERT_EQ(Log.Freqs.size(), 2u);
    EXPECT_EQ(Log.Freqs[0].Request, "NODELIST");
    EXPECT_TRUE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[0].Freq.FilePath, "C:\\FH\\NODELIST.ZIP ");
    EXPECT_TRUE(Log.Freqs[1].Freq.Sent);
    EXPECT_EQ(Log.Freqs[1].Freq.FilePath, "");
}

TEST_F(FHMailTest, BbsCallerLastsTwoMoreLines)
{
    W.Ring();
    W.BbsCall();
    W.Msg("door one");
    W.Dialing("2:5020/52");  // ends the caller's session and is read as a dial
    W.Busy();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound | sfOK | sfHuman);
    EXPECT_EQ(Log.Session(0).StartLine, 2);
    EXPECT_EQ(Log.Session(0).EndLine, 4);
    EXPECT_EQ(Log.Node(0, 0).Busy, 1);
}

TEST_F(FHMailTest, HumanCallerIsInboundWhateverCameBefore)
{
    W.Ring();
    W.BbsCall();
    W.Msg("door one");
    W.Msg("back at the prompt");  // ends the first caller's session
    W.Dialing("2:5020/52");
    W.BbsCall();
    W.Msg("door two");
    W.Msg("back at the prompt");
    W.BbsCall();  // neither a ring nor a dial before it
    W.Msg("door three");
    W.Msg("back at the prompt");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 3);
    for (std::int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(Log.Session(i).Flags & (sfInbound | sfHuman), sfInbound | sfHuman) << "session " << i;
}

TEST_F(FHMailTest, ConfigurationLanguageAndTheirFailures)
{
    // Language and AliasList come through a define written in either letter case.
    W.Msg("Waiting");
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.AliasList, "C:\\alias.lst");
    EXPECT_EQ(Log.Language, "C:\\english.lng");

    // Without a Language line fhmail.lng is read; without BUSY it still knows "Busy".
    TFHMailLog plain;
    plain.MailerPath = Dir.string();
    fs::remove_all(Dir);
    Opt.LanguageFile.clear();
    Opt.LngWithBusy = false;
    WriteFHMailDir(Dir.string(), Opt);
    W.Dialing("2:5020/52");
    W.Busy();
    ASSERT_TRUE(plain.Analyze(Ui, {}, W.Text()));
    EXPECT_EQ(plain.Language, "fhmail.lng");
    EXPECT_EQ(plain.Node(0, 0).Busy, 1);

    // Broken quotes define nothing: the key stands for itself.
    TFHMailLog broken;
    broken.MailerPath = Dir.string();
    WriteFileBytes((Dir / "fhmail.lng").string(), "RING 'Ring\nBUSY Busy'\nDIALING 'Calling \n");
    ASSERT_TRUE(broken.Analyze(Ui, {}, W.Text()));
    EXPECT_EQ(broken.Phrases[TFHMailLog::Dialing], "DIALING");
    EXPECT_EQ(broken.Phrases[TFHMailLog::Busy], "Busy");

    // A phrase defined empty matches nothing: every line is not a ring.
    TFHMailLog empty;
    empty.MailerPath = Dir.string();
    WriteFileBytes((Dir / "fhmail.lng").string(), "RING ''\nDIALING 'Dialing '\n");
    TFHMailLogWriter ew;
    ew.SetDate(2026, 3, 7);
    ew.Dialing("2:5020/52");
    ew.RemoteAddress("2:5020/52");  // REMOTE_ADDRESS is missing: the key itself, no match
    ew.Busy();
    ASSERT_TRUE(empty.Analyze(Ui, {}, ew.Text()));
    EXPECT_EQ(empty.SessCount, 0);
    EXPECT_EQ(empty.Node(0, 0).Busy, 1);

    // A missing language file.
    TFHMailLog noLng;
    noLng.MailerPath = Dir.string();
    fs::remove(Dir / "fhmail.lng");
    Ui.Transcript.clear();
    EXPECT_FALSE(noLng.Analyze(Ui, {}, W.Text()));
    ASSERT_FALSE(Ui.Transcript.empty());
    EXPECT_EQ(Ui.Transcript[0], "Cannot open .LNG file");

    // A missing alias list warns and the pass goes on.
    TFHMailLog noAlias;
    noAlias.MailerPath = Dir.string();
    WriteFHMailDir(Dir.string(), Opt);
    fs::remove(Dir / "alias.lst");
    Ui.Transcript.clear();
    EXPECT_TRUE(noAlias.Analyze(Ui, {}, W.Text()));
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Cannot open freq index file");

    // A missing fhmail.cfg and a define without '=' stop the pass before it reads the log.
    TFHMailLog noCfg;
    noCfg.MailerPath = Dir.string();
    fs::remove(Dir / "fhmail.cfg");
    Ui.Transcript.clear();
    EXPECT_FALSE(noCfg.Analyze(Ui, {}, W.Text()));
    EXPECT_FALSE(noCfg.PassStarted);
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_NE(Ui.Transcript[0].find("fhmail.cfg"), std::string::npos);
    WriteFileBytes((Dir / "fhmail.cfg").string(), "define Root C:\n");
    Ui.Transcript.clear();
    EXPECT_FALSE(noCfg.Analyze(Ui, {}, W.Text()));
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_NE(Ui.Transcript[0].find("Invalid Define"), std::string::npos);
}

TEST_F(FHMailTest, ColouringOfFHMailLines)
{
    W.Msg("Waiting");
    ASSERT_TRUE(Run());
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"+", 0}, {"07", 2}, {"Mar", 5}, {"10:00:00", 9}, {"FHML", 18}, {"Finishing", 23}, {"x", 33}}),
              (std::vector<C>{C::Normal, C::DateTime, C::DateTime, C::DateTime, C::Special, C::Info, C::Info}));
    EXPECT_EQ(Colours(2, {{"Z-sent", 23}, {"1b", 30}}), (std::vector<C>{C::Transfers, C::Transfers}));
    EXPECT_EQ(Colours(3, {{"H-recv", 23}}), (std::vector<C>{C::Transfers}));
    EXPECT_EQ(Colours(4, {{"BBS", 23}, {"caller", 27}}), (std::vector<C>{C::Special, C::Special}));
    EXPECT_EQ(Colours(5, {{"Connect", 23}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(6, {{"Z", 23}}), (std::vector<C>{C::Normal}));
}

TEST_F(FHMailTest, HostileBytesNeverBreakThePass)
{
    TFHMailLogOptions options;
    options.Lines = 3000;
    options.Seed = 99;
    std::string text = BuildFHMailLog(options, Opt.Phrases);
    DamageBytes(text, 5, "/");
    WriteFHMailDir(Dir.string(), Opt);
    EXPECT_TRUE(Log.Analyze(Ui, {}, text));
    EXPECT_GT(Ui.Transcript.size(), 0u);
    ExpectSessionsInOrder(Log);
    FeedCutLines(Log, {"!", "  07", "  07 Mar 1", "  07 Mar 10:00:00 FHML", "  07 Mar 10:00:00 FHML send:",
                       "  07 Mar 10:00:00 FHML Z-sent"});
}

TEST(FHMailFixture, ExactLengthAndNoQuestionWithoutDamage)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    TTestDir dir("fhmailfix");
    TDriveC driveC(dir.Path);
    TFHMailDirOptions opt;
    WriteFHMailDir(dir.Path.string(), opt);
    TFHMailLogOptions options;
    options.Lines = 2000;
    options.WithDamagedLines = false;
    const std::string text = BuildFHMailLog(options, opt.Phrases);
    EXPECT_EQ(text, BuildFHMailLog(options, opt.Phrases));
    TFHMailLog log;
    log.MailerPath = dir.Path.string();
    ExpectCleanGeneratedLog(log, text, 2000);
}
