#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "brakedir.h"
#include "brakelog.h"
#include "brakelogwriter.h"
#include "host/settingsstore.h"
#include "parsers/brakelog.h"
#include "parsertest.h"
#include "platform/paths.h"
#include "windowspaths.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;
namespace fs = std::filesystem;

namespace {

class BrakeTest : public TMailerDirTest<TBrakeLog, TBrakeLogWriter, TBrakeDirOptions, &WriteBrakeDir>
{
protected:
    BrakeTest() : TMailerDirTest("brake", "brake!.ctl", true, TBrakeLogWriter(701)) { StartAt(1999, 3, 7); }

    // A log of the other mailer generation from here on.
    void UseVersion(int version)
    {
        Log.BrkVersion = version;
        W = TBrakeLogWriter(version);
        StartAt(1999, 3, 7);
    }

    // A mail session as far as the state where requested files are sent.
    void SessionUpToFreqs(std::string_view addr, bool inbound = true)
    {
        if (inbound)
            W.Incoming();
        else
            W.Outgoing();
        W.SessionWith(addr);
        W.System("Back BBS");
        W.SysOp("Petr Orlov", "Tver");
        W.SendingFreqs();
    }
};

}  // namespace

TEST_F(BrakeTest, DialsAndTheirOutcomes)
{
    W.Calling("2:5020/52");
    W.NotConnected("BUSY");
    W.Calling("2:5020/52");
    W.NotConnected("NO CARRIER");
    W.Calling("2:5020/52");
    W.TimedOut();
    W.Calling("2:5030/15");
    W.NotConnected("NO DIAL TONE");
    W.Calling("2:5030/15");
    W.NotConnected("BUSY ");  // only the exact word counts
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty());
    ASSERT_EQ(Log.NodeCount(0), 2);
    const TNodeStat& a = Log.Node(0, 0);
    EXPECT_EQ(a.Addr.ToString(), "2:5020/52");
    EXPECT_EQ(a.Tries, 3);
    EXPECT_EQ(a.Busy, 1);
    EXPECT_EQ(a.NoCarrier, 2);
    const TNodeStat& b = Log.Node(0, 1);
    EXPECT_EQ(b.Tries, 2);
    EXPECT_EQ(b.Busy + b.NoCarrier, 0);
}

TEST_F(BrakeTest, SessionsCarryTheirSummaryAndCountOnTheirNodes)
{
    W.Calling("2:5020/52");
    W.Outgoing();
    W.SessionWith("2:5020/52");
    W.System("Hub North");
    W.SysOp("Ivan Petrov", "Moscow");
    W.Password();
    W.Tick(100);
    W.Done("2:5020/52", 100, 3, 1, 12000, 4000, 120);
    W.Incoming();
    W.SessionWith("2:5030/15.2");
    W.System("Tver Point");
    W.SysOp("Olga Orlova", "");  // no "from": no name
    W.CarrierLost();
    W.Tick(10);
    W.Done("2:5030/15.2", 10, 1, 0, 500, 0, 50);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    const TSess& out = Log.Session(0);
    EXPECT_EQ(out.Flags, sfFirstOfDay | sfOK | sfPassword);
    EXPECT_EQ(out.Addr->ToString(), "2:5020/52");
    EXPECT_EQ(out.System, "Hub North");
    EXPECT_EQ(out.SysOp, "Ivan Petrov");
    EXPECT_EQ(out.FilesRecd, 3);
    EXPECT_EQ(out.FilesSent, 1);
    EXPECT_EQ(out.BytesRecd, 12000);
    EXPECT_EQ(out.BytesSent, 4000);
    EXPECT_EQ(out.CPS, 120);
    EXPECT_EQ(out.StartTime, EncodeDate(1999, 3, 7) + EncodeTime(10, 0, 0));
    // Carrier lost, then "Done,": counted, but not a good session.
    const TSess& in = Log.Session(1);
    EXPECT_EQ(in.Flags, sfInbound);
    EXPECT_EQ(in.SysOp, "");
    EXPECT_EQ(in.BytesRecd, 500);
    ASSERT_EQ(Log.NodeCount(0), 2);
    EXPECT_EQ(Log.Node(0, 0).OutSess, 1);
    EXPECT_EQ(Log.Node(0, 0).Tries, 1);
    EXPECT_EQ(Log.Node(0, 0).BytesRecd, 12000);
    EXPECT_EQ(Log.Node(0, 1).InSess, 1);
}

TEST_F(BrakeTest, LowCpsTimeoutsAndFailures)
{
    W.Incoming();
    W.SessionWith("2:5020/1");
    W.TooLowCps();
    W.Done("2:5020/1", 5, 0, 0, 0, 0, 0);
    W.Outgoing();
    W.RemoteTimedOut();
    W.Done("2:5020/1", 5, 0, 0, 0, 0, 0);
    W.Incoming();
    W.Failed("no handshake");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 3);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound);
    EXPECT_EQ(Log.Session(1).Flags, 0);
    EXPECT_EQ(Log.Session(2).Flags, sfInbound | sfFailed);
    EXPECT_EQ(SessDescription(Log.Session(2)), "In FAILED");
}

TEST_F(BrakeTest, SysopMustStandOneColumnIntoTheMessage)
{
    W.Incoming();
    W.SessionWith("2:5020/1");
    W.System("Boss");
    W.Msg("Sysop: Too Early from Here");  // column 25: not the sysop line
    W.SysOp("Right Column", "There");
    W.Done("2:5020/1", 5, 0, 0, 0, 0, 0);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Session(0).SysOp, "Right Column");
}

TEST_F(BrakeTest, YearsAreNineteenHundredAndSomething)
{
    W.SetDate(1999, 12, 31);
    W.Ready();
    W.SetDate(2000, 1, 1);
    W.Ready();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(1999, 12, 31));
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(1900, 1, 1));
}

TEST_F(BrakeTest, InboundSessionForgetsTheCall)
{
    W.Calling("2:5020/52");
    W.Incoming();
    W.Failed("no handshake");
    W.NotConnected("NO CARRIER");
    W.NotConnected("BUSY");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.NodeCount(0), 1);
    EXPECT_EQ(Log.Node(0, 0).Tries, 1);
    EXPECT_EQ(Log.Node(0, 0).NoCarrier + Log.Node(0, 0).Busy + Log.Node(0, 0).InSess, 0);
}

TEST_F(BrakeTest, RequestedFilesOfTheOlderMailer)
{
    SessionUpToFreqs("2:5020/52");
    W.Send("TOOL.ZIP", 1000);
    W.SendingFrom("C:\\FILES\\UTILS");
    W.Sent("TOOL.ZIP", 100);
    W.Send("GAME.ZIP", 1000);
    W.Msg("Resending block 7");  // any other line drops the pair
    W.Sent("GAME.ZIP", 100);
    W.Send("FILES", 1000);  // a magic name of brake!.ctl stands for itself
    W.Sent("FILES", 100);
    W.Done("2:5020/52", 5, 0, 3, 0, 3000, 600);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.Freqs.size(), 3u);
    ASSERT_NE(FindFreq("TOOL.ZIP"), nullptr);
    EXPECT_TRUE(FindFreq("TOOL.ZIP")->Sent);
    EXPECT_EQ(FindFreq("TOOL.ZIP")->FilePath, "");
    ASSERT_NE(FindFreq("GAME.ZIP"), nullptr);
    EXPECT_FALSE(FindFreq("GAME.ZIP")->Sent);
    ASSERT_NE(FindFreq("FILES"), nullptr);
    EXPECT_TRUE(FindFreq("FILES")->Sent);
    EXPECT_EQ(FindFreq("FILES")->Name, "FILES");
}

TEST_F(BrakeTest, TransferLinesOfEachVersion)
{
    // Files sent before "Sending FREQed files" are mail, not requests.
    W.Incoming();
    W.SessionWith("2:5020/52");
    W.System("Back BBS");
    W.SysOp("Petr Orlov", "Tver");
    W.Send("MAIL.PKT", 10);
    W.Sent("MAIL.PKT", 10);
    W.SendingFreqs();
    W.Send("TOOL.ZIP", 10);
    W.Sent("TOOL.ZIP", 10);
    W.Done("2:5020/52", 5, 0, 2, 0, 20, 10);
    const std::string older = W.Text();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.Freqs.size(), 1u);
    EXPECT_TRUE(FindFreq("TOOL.ZIP")->Sent);

    // The same log read as the newer mailer's: its transfer lines mean nothing there.
    Log.BrkVersion = TBrakeLog::kNewVersion;
    ASSERT_TRUE(Log.Analyze(Ui, {}, older));
    EXPECT_TRUE(Log.Freqs.empty());

    UseVersion(TBrakeLog::kNewVersion);
    SessionUpToFreqs("2:5020/52");
    W.Send("TOOL.ZIP", 10, 'H');
    W.Sent("TOOL.ZIP", 10);
    W.Msg(" S GAME.ZIP, 100 bytes");  // any character before the 'S'
    W.Sent("GAME.ZIP", 10);
    W.Done("2:5020/52", 5, 0, 2, 0, 20, 10);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.Freqs.size(), 2u);
    EXPECT_TRUE(FindFreq("TOOL.ZIP")->Sent);
    EXPECT_TRUE(FindFreq("GAME.ZIP")->Sent);

    // Any version but 701 reads the newer lines.
    Log.BrkVersion = 715;
    ASSERT_TRUE(Log.Analyze(Ui, {}, W.Text()));
    EXPECT_EQ(Log.Freqs.size(), 2u);
}

// A transfer left open when a session ended must not pair with a line of the next session.
TEST_F(BrakeTest, OpenTransferDoesNotLeakIntoTheNextSession)
{
    SessionUpToFreqs("2:5020/52");
    W.Send("TOOL.ZIP", 10);
    W.Failed("carrier dropped");
    SessionUpToFreqs("2:5030/15");
    W.Sent("TOOL.ZIP", 10);
    W.Done("2:5030/15", 5, 0, 0, 0, 0, 0);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.Freqs.size(), 1u);
    EXPECT_FALSE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[0].Freq.Addr.ToString(), "2:5020/52");
}

TEST_F(BrakeTest, HumanCallerLastsUntilTheNextCallOrAnswer)
{
    W.Incoming("2400");
    W.Human();
    W.Msg("Hello?");
    W.Tick(60);
    W.Calling("2:5020/52");
    W.NotConnected("BUSY");
    W.Outgoing();
    W.Human();
    W.Answering();
    W.Incoming();
    W.Human();
    W.Done("human", 5, 0, 0, 0, 0, 0);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 3);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound | sfOK | sfHuman);
    EXPECT_EQ(Log.Session(0).EndLine, 4);
    EXPECT_EQ(SessDescription(Log.Session(0)), "Human caller");
    // The call that ended the human session is counted and answered.
    ASSERT_EQ(Log.NodeCount(0), 1);
    EXPECT_EQ(Log.Node(0, 0).Tries, 1);
    EXPECT_EQ(Log.Node(0, 0).Busy, 1);
    // The outgoing human session ended by "Answering" belongs to the noted call.
    EXPECT_EQ(Log.Node(0, 0).OutSess, 1);
    EXPECT_EQ(Log.Session(1).EndLine, 8);
    EXPECT_EQ(Log.Session(2).EndLine, 11);
}

TEST_F(BrakeTest, BadSummaryAndBadDatesAskAndGoOn)
{
    W.Incoming();
    W.Msg("Done, 2:5020/1, 5 sec, 1-2, 3/4, 0 cps");
    W.Raw("07-03-9x 10:00:00 L1  + Ready");
    W.Failed("gone");
    W.Msg("Done, 2:5020/1");  // outside a session: nothing to read
    ASSERT_TRUE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error analyzing log at line 2:\n\r", 0), 0u);
    EXPECT_EQ(Ui.Transcript[1], "Invalid date at line 3\n\rContinue processing?");
}

TEST_F(BrakeTest, ConfigurationAndFileTree)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    Opt.WriteCtl = false;
    WriteBrakeDir(Dir.string(), Opt);
    EXPECT_FALSE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error loading config file:\r\nCannot open file ", 0), 0u);

    Opt.WriteCtl = true;
    WriteBrakeDir(Dir.string(), Opt);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Tree, "C:\\FILES");
    ASSERT_EQ(Log.Aliases.size(), 4u);
    EXPECT_EQ(Log.Aliases[0].Magic, "FILES");
    EXPECT_EQ(Log.LocateFile("tool.zip"), "C:\\FILES\\UTILS\\TOOL.ZIP");
    EXPECT_EQ(Log.LocateFile("NOSUCH.ZIP"), "");

    Opt.CtlNamesTree = false;
    WriteBrakeDir(Dir.string(), Opt);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Tree, "");
    EXPECT_EQ(Log.LocateFile("TOOL.ZIP"), "");

    std::ofstream(Dir / "brake!.ctl", std::ios::app) << "TREE \"C:\\FILES\n";
    EXPECT_FALSE(Run());
    EXPECT_NE(Ui.Transcript.back().find("Error loading config file (file "), std::string::npos);
}

TEST_F(BrakeTest, VersionIsKeptWithTheLogAndEditedInItsDialog)
{
    TMemorySettings reg;
    EXPECT_EQ(Log.BrkVersion, 701);
    EXPECT_TRUE(Log.HasOptions);
    Log.BrkVersion = 703;
    Log.Save(reg, "Log1");
    EXPECT_EQ(reg.ReadInteger("Log1", "BrkVersion", 0), 703);
    TBrakeLog other;
    other.Load(reg, "Log1");
    EXPECT_EQ(other.BrkVersion, 703);
    reg.EraseSection("Log1");
    other.Load(reg, "Log1");
    EXPECT_EQ(other.BrkVersion, 701);

    // The dialog shows the current version; Cancel keeps it, a choice sets it. Only a change
    // asks for the text to be analysed again.
    other.BrkVersion = 715;
    Ui.Choice = -1;
    EXPECT_FALSE(other.EditOptions(Ui));
    EXPECT_EQ(other.BrkVersion, 715);
    Ui.Choice = 0;
    EXPECT_TRUE(other.EditOptions(Ui));
    EXPECT_EQ(other.BrkVersion, 701);
    Ui.Choice = 1;
    EXPECT_TRUE(other.EditOptions(Ui));
    EXPECT_EQ(other.BrkVersion, 703);
    EXPECT_FALSE(other.EditOptions(Ui));
    EXPECT_EQ(Ui.Shown, (std::vector<int>{-1, -1, 0, 1}));
    EXPECT_EQ(Ui.Transcript.back(), "Brake! log options");
}

TEST_F(BrakeTest, ColouringOfBrakeLines)
{
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"07-03-99", 0}, {"10:00:00", 9}, {"L1", 18}, {"+", 22}, {"Done,", 24}, {"2:5020/1", 30}}),
              (std::vector<C>{C::DateTime, C::DateTime, C::Special, C::Normal, C::Info, C::Info}));
    EXPECT_EQ(Colours(2, {{"L1", 18}, {"#", 22}, {"Z-Send", 24}, {"A.ZIP", 31}}),
              (std::vector<C>{C::Special, C::Normal, C::Transfers, C::Transfers}));
    EXPECT_EQ(Colours(3, {{"L1", 18}, {"!", 22}, {"Unable", 24}, {"to", 31}}),
              (std::vector<C>{C::Special, C::Normal, C::Errors, C::Errors}));
    EXPECT_EQ(Colours(4, {{"Humman", 24}, {"x", 31}}), (std::vector<C>{C::Special, C::Special}));
    EXPECT_EQ(Colours(5, {{"Calling", 24}, {"Done,", 32}}), (std::vector<C>{C::Normal, C::Normal}));
    Log.BrkVersion = 703;
    EXPECT_EQ(Colours(6, {{"ZS", 24}}), (std::vector<C>{C::Transfers}));
    EXPECT_EQ(Colours(7, {{"RE", 24}}), (std::vector<C>{C::Transfers}));
    EXPECT_EQ(Colours(8, {{"Z-Send", 24}}), (std::vector<C>{C::Normal}));
}

// Whatever bytes a log holds, the pass asks and goes on; it never reads outside a line.
TEST_F(BrakeTest, HostileBytesNeverBreakThePass)
{
    for (const int version : {701, 703}) {
        TBrakeLogOptions options;
        options.Lines = 3000;
        options.Seed = 99;
        options.Version = version;
        std::string text = BuildBrakeLog(options);
        DamageBytes(text, 7, ",");
        WriteBrakeDir(Dir.string(), Opt);
        Log.BrkVersion = version;
        EXPECT_TRUE(Log.Analyze(Ui, {}, text));
        EXPECT_GT(Ui.Transcript.size(), 0u);
        ExpectSessionsInOrder(Log);
    }
    FeedCutLines(Log, {"0", "07", "07-03-9", "07-03-99 1", "07-03-99 10:00:00", "07-03-99 10:00:00 L1  + ",
                       ","});
}
