#include <gtest/gtest.h>

#include "arguslog.h"
#include "arguslogwriter.h"
#include "brakelogwriter.h"
#include "parsers/arguslog.h"
#include "parsertest.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;

namespace {

class ArgusTest : public TParserTest<TArgusLog, TArgusLogWriter>
{
protected:
    ArgusTest() { StartAt(1999, 3, 7); }

    bool Run() { return Log.Analyze(Ui, {}, W.Text()); }

    // A session as far as its transfers.
    void Presented(std::string_view addr, bool inbound = true)
    {
        if (inbound)
            W.Answering();
        else
            W.Calling(addr);
        W.Connect();
        W.Station("Back BBS");
        W.Address(addr, "2:5020/9999@fidonet");
        W.SysOp("Petr Orlov", "Tver");
    }
};

}  // namespace

TEST_F(ArgusTest, DialsAndTheKindOfEachConnect)
{
    W.Calling("2:5020/52");
    W.Busy();
    W.Calling("2:5020/52");
    W.NoCarrier();
    W.Calling("2:5020/52");
    W.Connect();
    W.Complete();
    W.Connect();  // no new call: still the outbound kind
    W.Complete();
    W.Answering();
    W.Busy();  // the answered call forgot the dialled node
    W.Connect();
    W.Complete();
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty());
    ASSERT_EQ(Log.SessCount, 3);
    EXPECT_EQ(Log.Session(0).Flags & sfInbound, 0);
    EXPECT_EQ(Log.Session(1).Flags & sfInbound, 0);
    EXPECT_EQ(Log.Session(2).Flags & sfInbound, sfInbound);
    ASSERT_EQ(Log.NodeCount(0), 1);
    const TNodeStat& n = Log.Node(0, 0);
    EXPECT_EQ(n.Tries, 3);
    EXPECT_EQ(n.Busy, 1);
    EXPECT_EQ(n.NoCarrier, 1);
    // The engine forgets the call when its session ends: the second session belongs to no node.
    EXPECT_EQ(n.OutSess, 1);
}

TEST_F(ArgusTest, PresentationOfTheRemote)
{
    Presented("2:5030/15.2");
    W.Password();
    W.BadPassword();
    W.Complete();
    W.Answering();
    W.Connect();
    W.Station("Quiet Harbour");
    W.Address("2:5020/1");
    W.SysOp("Olga Orlova", "");  // no "from": no name
    W.Complete();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    const TSess& a = Log.Session(0);
    EXPECT_EQ(a.Flags, sfFirstOfDay | sfInbound | sfOK | sfPassword | sfBadPassword);
    EXPECT_EQ(a.System, "Back BBS");
    EXPECT_EQ(a.Addr->ToString(), "2:5030/15.2");
    EXPECT_EQ(a.SysOp, "Petr Orlov");
    EXPECT_EQ(Log.Session(1).System, "Quiet Harbour");
    EXPECT_EQ(Log.Session(1).SysOp, "");
    EXPECT_EQ(Log.Node(0, 0).InSess, 1);
}

TEST_F(ArgusTest, BytesCountOnlyForCompletedTransfersLessTheResumedOffset)
{
    Presented("2:5020/52", false);
    W.Sending("A.PKT", 1000);
    W.TransmitFrom(400);
    W.Sent("A.PKT");
    W.Sending("B.PKT", 5000);
    W.RemoteRefused();
    W.Sent("B.PKT");  // nothing pending: changes nothing
    W.Sending("C.PKT", 1234567, "C:\\OUT\\C.PKT");
    W.Sent("C.PKT");
    W.Receiving("X.SU0", 2000);
    W.ReceiveFrom(1500);
    W.Received("X.SU0");
    W.Receiving("Y.SU0", 9000);
    W.ReceivingFileWas();
    W.Received("Y.SU0");
    W.Receiving("Z.SU0", 700);
    W.ProtocolAborted();
    W.Msg("Receiving 'NOSIZE.PKT'");
    W.Received("NOSIZE.PKT");
    W.Complete();
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty());
    const TSess& s = Log.Session(0);
    EXPECT_EQ(s.FilesSent, 3);
    EXPECT_EQ(s.BytesSent, 600 + 1234567);
    EXPECT_EQ(s.FilesRecd, 4);
    EXPECT_EQ(s.BytesRecd, 500);
}

TEST_F(ArgusTest, FileRequestsFulfilledAndNot)
{
    Presented("2:5020/52");
    W.FileRequest("TOOL.ZIP");
    W.Sending("C:\\FILES\\TOOL.ZIP", 3000);
    W.Sent("TOOL.ZIP");
    W.FileRequest("NONE.ZIP");
    W.CannotFulfill("NONE.ZIP");
    W.Complete();
    ASSERT_TRUE(Run());
    // The request the mailer could not fulfil is the one already recorded.
    ASSERT_EQ(Log.Freqs.size(), 2u);
    EXPECT_EQ(Log.Freqs[0].Request, "TOOL.ZIP");
    EXPECT_TRUE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[0].Freq.FilePath, "C:\\FILES\\TOOL.ZIP");
    EXPECT_EQ(Log.Freqs[1].Request, "NONE.ZIP");
    EXPECT_FALSE(Log.Freqs[1].Freq.Sent);
}

TEST_F(ArgusTest, HowSessionsEnd)
{
    Presented("2:5020/1");
    W.Stars();
    W.Answering();
    W.Connect();
    W.Station("Early");
    W.CarrierLost();  // before the address: failed
    W.Answering();
    W.Connect();
    W.EmsiDisconnecting();
    Presented("2:5020/2");
    W.Msg("Remote is disconnecting");  // address known, no EMSI: not failed, not good
    W.Answering();
    W.Connect();
    W.CancelRequested();  // no address: failed
    Presented("2:5020/3");
    W.CancelRequested();  // address known: a good session
    Presented("2:5020/4");
    W.Msg("Transfer aborted by remote");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 7);
    EXPECT_EQ(Log.Session(0).Flags & (sfOK | sfFailed), 0);
    EXPECT_EQ(Log.Session(1).Flags & (sfOK | sfFailed), sfFailed);
    EXPECT_EQ(Log.Session(2).Flags & (sfOK | sfFailed), sfFailed);
    EXPECT_EQ(Log.Session(3).Flags & (sfOK | sfFailed), 0);
    EXPECT_EQ(Log.Session(4).Flags & (sfOK | sfFailed), sfFailed);
    EXPECT_EQ(Log.Session(5).Flags & (sfOK | sfFailed), sfOK);
    EXPECT_EQ(Log.Session(6).Flags & (sfOK | sfFailed), 0);
}

TEST_F(ArgusTest, OpenTransferDoesNotLeakIntoTheNextSession)
{
    Presented("2:5020/1");
    W.Sending("A.PKT", 1000);
    W.Receiving("B.PKT", 2000);
    W.CarrierLost();
    Presented("2:5020/2");
    W.Sent("A.PKT");
    W.Received("B.PKT");
    W.Complete();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 2);
    EXPECT_EQ(Log.Session(0).BytesSent, 0);
    EXPECT_EQ(Log.Session(1).BytesSent, 0);
    EXPECT_EQ(Log.Session(1).BytesRecd, 0);
}

TEST_F(ArgusTest, YearsAndDays)
{
    W.SetDate(1999, 12, 31);
    W.Msg("Waiting");
    W.SetDate(2000, 1, 1);
    W.Msg("Waiting");
    W.Raw("+ 01 Jax 00 10:00:00 Waiting");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(1999, 12, 31));
    EXPECT_EQ(Log.Day(1).Date, EncodeDate(1900, 1, 1));
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Invalid date at line 3\n\rContinue processing?");
}

TEST_F(ArgusTest, BadSizesAskAndGoOn)
{
    Presented("2:5020/1");
    W.Msg("Sending 'A.PKT', (1x0 bytes)");
    W.Msg("Transmitting from offset many");  // no size pending: not read
    W.Sending("B.PKT", 100);
    W.Msg("Transmitting from offset many");
    W.Complete();
    ASSERT_TRUE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 2u);
    EXPECT_EQ(Ui.Transcript[0].rfind("Error analyzing log at line 6:", 0), 0u);
    EXPECT_EQ(Log.SessCount, 1);
}

TEST_F(ArgusTest, ColouringOfArgusLines)
{
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"+", 0}, {"07", 2}, {"10:00:00", 12}, {"End", 21}, {"of", 25}}),
              (std::vector<C>{C::Normal, C::DateTime, C::DateTime, C::Info, C::Info}));
    EXPECT_EQ(Colours(2, {{"Mail", 21}, {"End", 26}}), (std::vector<C>{C::Normal, C::Normal}));
    EXPECT_EQ(Colours(3, {{"Sending", 21}, {"'A'", 29}}), (std::vector<C>{C::Transfers, C::Transfers}));
    EXPECT_EQ(Colours(4, {{"!", 0}, {"Aborting", 21}, {"x", 30}, {"?", 32}}),
              (std::vector<C>{C::Errors, C::Errors, C::Errors, C::Errors}));
}

// A log of another mailer holds no session of this one and never breaks the pass.
TEST_F(ArgusTest, OtherMailersLinesAndHostileBytes)
{
    TBrakeLogWriter brake(701);
    brake.SetDate(1999, 3, 7);
    brake.At(10, 0, 0);
    brake.Calling("2:5020/52");
    brake.Incoming();
    brake.SessionWith("2:5020/52");
    brake.Done("2:5020/52", 10, 0, 1, 0, 1000, 100);
    EXPECT_TRUE(Log.Analyze(Ui, {}, brake.Text()));
    EXPECT_EQ(Log.SessCount, 0);

    TArgusLogOptions options;
    options.Lines = 3000;
    options.Seed = 99;
    std::string text = BuildArgusLog(options);
    DamageBytes(text, 11, "(");
    Ui.Transcript.clear();
    EXPECT_TRUE(Log.Analyze(Ui, {}, text));
    EXPECT_GT(Ui.Transcript.size(), 0u);
    ExpectSessionsInOrder(Log);
    FeedCutLines(Log, {"+", "+ 07", "+ 07 Mar", "+ 07 Mar 99 1", "+ 07 Mar 99 10:00:00 Sending '", "(",
                       "Sent '"});
}

TEST(ArgusFixture, ExactLengthAndNoQuestionWithoutDamage)
{
    TArgusLogOptions options;
    options.Lines = 2000;
    options.WithDamagedLines = false;
    const std::string text = BuildArgusLog(options);
    EXPECT_EQ(text, BuildArgusLog(options));
    TArgusLog log;
    ExpectCleanGeneratedLog(log, text, 2000);
}
