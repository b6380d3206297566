#include <gtest/gtest.h>

#include <filesystem>

#include "parsers/sfmaillog.h"
#include "parsertest.h"
#include "platform/paths.h"
#include "sfmaildir.h"
#include "sfmaillogwriter.h"
#include "tmaildir.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::testing;
namespace fs = std::filesystem;

namespace {

class SFMailTest : public TMailerDirTest<TSFMailLog, TSFMailLogWriter, TSFMailDirOptions, &WriteSFMailDir>
{
protected:
    SFMailTest() : TMailerDirTest("sfmail", "cfg", false) { StartAt(2026, 3, 7); }

    // A session as far as its transfers.
    void Presented(std::string_view addr, bool inbound = true)
    {
        if (inbound)
            W.Incoming();
        else
            W.Calling(addr);
        W.Connect();
        W.Phrase(1084, "Back BBS");
        W.Phrase(1085, addr);
        W.Phrase(1087, "Petr Orlov");
    }
};

}  // namespace

TEST_F(SFMailTest, DaysComeFromSeparatorLines)
{
    W.Msg("(+) Waiting for calls");  // before the first separator: day 0 of the calendar, no question
    W.Separator();
    W.Msg("(+) Waiting");
    W.Separator();  // the same date again: no new day
    W.NextDay();
    W.Separator();
    W.Raw("\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4 09 Xyz 2026");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.DayCount, 2);
    EXPECT_EQ(Log.Day(0).LineNo, 2);
    EXPECT_EQ(Log.Day(0).Date, EncodeDate(ProgramStartYear(), 3, 7));
    EXPECT_EQ(Log.Day(1).LineNo, 5);
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Invalid date at line 6\n\rContinue processing?");
}

TEST_F(SFMailTest, CallsAndTheConnectRightAfterThem)
{
    W.Separator();
    W.Calling("2:5020/52");
    W.Phrase(2034);
    W.Calling("2:5020/52");
    W.Phrase(2032);
    W.Incoming();
    W.Phrase(2034);  // the incoming call cleared the noted one
    W.Calling("2:5020/52");
    W.Msg("( ) RING");
    W.Connect();  // not right after the call: no session
    W.Calling("2:5020/52");
    W.Connect();
    W.End(false, 0, 0, 0);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty()) << Ui.Transcript.front();
    ASSERT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).Flags & sfInbound, 0);
    const TNodeStat& n = Log.Node(0, 0);
    EXPECT_EQ(n.Tries, 4);
    EXPECT_EQ(n.Busy, 1);
    EXPECT_EQ(n.NoCarrier, 1);
    EXPECT_EQ(n.OutSess, 1);
}

TEST_F(SFMailTest, SessionDetailsTotalsAndEnds)
{
    W.Separator();
    Presented("2:5030/15.2");
    W.Phrase(1094);
    W.Phrase(2040, "\"X\"");
    W.Send("C:\\OUT\\A.PKT", 100);
    W.Recv("C:\\IN\\B.PKT", 200);
    W.End(false, 1234, 5678, 321);
    Presented("2:5020/1");
    W.Phrase(1158);
    W.Msg("(+) something else");  // no totals: the counts stay
    W.Phrase(1160, "77");
    Presented("2:5020/1");
    W.Phrase(2035, "no EMSI");
    Presented("2:5020/1");
    W.Msg("(!) Port error");
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 4);
    const TSess& a = Log.Session(0);
    EXPECT_EQ(a.Flags, sfFirstOfDay | sfInbound | sfOK | sfPassword | sfBadPassword);
    EXPECT_EQ(a.System, "Back BBS");
    EXPECT_EQ(a.Addr->ToString(), "2:5030/15.2");
    EXPECT_EQ(a.SysOp, "Petr Orlov");
    EXPECT_EQ(a.FilesSent, 1);
    EXPECT_EQ(a.FilesRecd, 1);
    EXPECT_EQ(a.BytesSent, 1234);
    EXPECT_EQ(a.BytesRecd, 5678);
    EXPECT_EQ(a.CPS, 321);
    EXPECT_EQ(a.EndLine, 13);  // two lines after phrase 1157
    const TSess& b = Log.Session(1);
    EXPECT_EQ(b.Flags & (sfOK | sfFailed), 0);
    EXPECT_EQ(b.BytesSent, 0);
    EXPECT_EQ(b.CPS, 77);
    EXPECT_EQ(Log.Session(2).Flags & (sfOK | sfFailed), sfFailed);
    EXPECT_EQ(Log.Session(3).Flags & (sfOK | sfFailed), sfOK);
}

TEST_F(SFMailTest, RequestListsAndRequestedFiles)
{
    W.Separator();
    Presented("2:5020/52");
    W.Phrase(1027);
    W.FreqEntry("TOOL.ZIP", false);
    W.FreqEntry("FILES", false);
    W.FreqEntry("NEWS.TXT", true);
    W.Send("C:\\SF\\FILES.TXT", 3000);
    W.Phrase(1125);
    W.Send("C:\\SF\\FILES\\TOOL.ZIP", 5000);
    W.Recv("C:\\IN\\X.PKT", 10);
    W.End(false, 8000, 10, 100);
    Presented("2:5020/52");
    W.Phrase(1027);
    W.Phrase(2012);  // nothing to send: back to the transfers
    W.Send("C:\\OUT\\B.PKT", 1);
    W.Phrase(1027);
    W.FreqEntry("NEWS.TXT", true);
    W.Phrase(1125);  // no file of this session announced
    W.End(false, 1, 0, 1);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Ui.Transcript.empty()) << Ui.Transcript.front();
    ASSERT_EQ(Log.Freqs.size(), 3u);
    EXPECT_EQ(Log.Freqs[0].Request, "TOOL.ZIP");
    EXPECT_FALSE(Log.Freqs[0].Freq.Sent);
    EXPECT_EQ(Log.Freqs[1].Request, "FILES");
    EXPECT_TRUE(Log.Freqs[1].Freq.Sent);
    EXPECT_EQ(Log.Freqs[1].Freq.FilePath, "C:\\SF\\FILES.TXT");
    EXPECT_EQ(Log.Freqs[1].Freq.LineNo, 11);
    EXPECT_EQ(Log.Freqs[2].Request, "NEWS.TXT");
    EXPECT_FALSE(Log.Freqs[2].Freq.Sent);
    EXPECT_EQ(Log.Session(0).FilesSent, 2);
    EXPECT_EQ(Log.Session(0).FilesRecd, 1);
    EXPECT_EQ(Log.Session(1).FilesSent, 1);
}

TEST_F(SFMailTest, HumanCallerEndsAtItsPhrase)
{
    W.Separator();
    W.Incoming();
    W.Connect("2400");
    W.Phrase(1082);
    W.Msg("( ) Starting BBS");
    W.Phrase(1115);
    ASSERT_TRUE(Run());
    ASSERT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).Flags, sfFirstOfDay | sfInbound | sfOK | sfHuman);
    EXPECT_EQ(Log.Session(0).EndLine, 6);
}

TEST_F(SFMailTest, MissingFilesAndAShortTable)
{
    W.Separator();
    Opt.WriteAliasList = false;
    WriteSFMailDir(Dir.string(), Opt);
    EXPECT_TRUE(Run());
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Cannot open freq index file");

    TSFMailLog shortLng;
    shortLng.MailerPath = Dir.string();
    WriteFileBytes((Dir / "sf-mail.lng").string(), std::string(20, '\0'));
    Ui.Transcript.clear();
    EXPECT_FALSE(shortLng.Analyze(Ui, {}, W.Text()));
    ASSERT_FALSE(Ui.Transcript.empty());
    EXPECT_EQ(Ui.Transcript.back(), "Cannot open .LNG file");

    TSFMailLog noCfg;
    noCfg.MailerPath = Dir.string();
    fs::remove(Dir / "cfg" / "sf-mail.cfg");
    Ui.Transcript.clear();
    EXPECT_FALSE(noCfg.Analyze(Ui, {}, W.Text()));
    EXPECT_FALSE(noCfg.PassStarted);
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_NE(Ui.Transcript[0].find("sf-mail.cfg"), std::string::npos);
}

// A table without a phrase must not take every line for that phrase.
TEST_F(SFMailTest, PhrasesTheTableLacksMatchNothing)
{
    Opt.Phrases.ById.erase(1157);
    Opt.Phrases.ById.erase(2034);
    W.Separator();
    W.Calling("2:5020/52");
    W.Msg("(-) BUSY");
    Presented("2:5020/1");
    W.Phrase(1094);
    W.Phrase(1158);
    W.Phrase(1159, "1/2, x");
    W.Phrase(1160, "3");
    ASSERT_TRUE(Run());
    EXPECT_EQ(Log.Node(0, 0).Busy, 0);
    ASSERT_EQ(Log.SessCount, 1);
    EXPECT_EQ(Log.Session(0).Flags & sfPassword, sfPassword);
    EXPECT_EQ(Log.Session(0).BytesRecd, 2);
}

TEST_F(SFMailTest, ColouringOfSFMailLines)
{
    W.Separator();
    ASSERT_TRUE(Run());
    using C = TColorItem;
    EXPECT_EQ(Colours(1, {{"10:00:00", 0}, {"(+)", 10}, {"x", 14}}), (std::vector<C>{C::DateTime, C::Info, C::Info}));
    EXPECT_EQ(Colours(2, {{"(\x0F)", 10}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(3, {{"ZSend-", 10}, {"A", 20}}), (std::vector<C>{C::Transfers, C::Transfers}));
    EXPECT_EQ(Colours(4, {{"(+)", 10}}), (std::vector<C>{C::Info}));
    EXPECT_EQ(Colours(5, {{"( )", 10}, {"Human", 14}}), (std::vector<C>{C::Normal, C::Normal}));
    EXPECT_EQ(Colours(6, {{"Human", 14}}), (std::vector<C>{C::Special}));
    EXPECT_EQ(Colours(7, {{"(!)", 10}, {"x", 14}}), (std::vector<C>{C::Errors, C::Errors}));
    EXPECT_EQ(Colours(8, {{"\xC4\xC4\xC4", 0}}), (std::vector<C>{C::DateTime}));
    EXPECT_EQ(Colours(9, {{"\xC4\xC4\xC4", 1}}), (std::vector<C>{C::Info}));
}

TEST_F(SFMailTest, HostileBytesNeverBreakThePass)
{
    TSFMailLogOptions options;
    options.Lines = 3000;
    options.Seed = 99;
    std::string text = BuildSFMailLog(options, Opt.Phrases);
    DamageBytes(text, 3, "\xC4");
    WriteSFMailDir(Dir.string(), Opt);
    EXPECT_TRUE(Log.Analyze(Ui, {}, text));
    EXPECT_GT(Ui.Transcript.size(), 0u);
    ExpectSessionsInOrder(Log);
    FeedCutLines(Log, {"1", "\xC4", "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4 1", "10:00:00  (",
                       "10:00:00  (\x07) Calling,", "10:00:00  \xC0"});
}

TEST(SFMailFixture, ExactLengthAndNoQuestionWithoutDamage)
{
    TTestDir dir("sfmailfix");
    TSFMailDirOptions opt;
    WriteSFMailDir(dir.Path.string(), opt);
    TSFMailLogOptions options;
    options.Lines = 2000;
    options.WithDamagedLines = false;
    const std::string text = BuildSFMailLog(options, opt.Phrases);
    EXPECT_EQ(text, BuildSFMailLog(options, opt.Phrases));
    TSFMailLog log;
    log.MailerPath = dir.Path.string();
    ExpectCleanGeneratedLog(log, text, 2000);
    EXPECT_GE(log.DayCount, 2);
}
