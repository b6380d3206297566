#include <gtest/gtest.h>

#include <cmath>

#include "base/datetime.h"
#include "base/logutils.h"
#include "report/sesscolumns.h"

using namespace tarvex;

namespace {

std::string Text(const TSess& s, int type, TDateFormat f = {})
{
    TSLColumn c(f);
    c.ColType = type;
    std::string t = "stale";
    c.ColumnText(s, t);
    return t;
}

TTextStore Texts;  // the sessions' names, as a log keeps them

TSess Session(std::uint8_t flags)
{
    TSess s(10, ComposeDateTime(EncodeDate(2026, 1, 5), EncodeTime(3, 4, 5)));
    s.EndTime = s.StartTime + 90.4 / 86400.0;
    s.Flags = flags;
    s.Addr = TFidoAddr::Parse("2:5020/52");
    s.System = Texts.Keep("North Gate");
    s.SysOp = Texts.Keep("Dmitry");
    s.FilesSent = 1;
    s.FilesRecd = 2;
    s.BytesSent = 1000;
    s.BytesRecd = 2500;
    s.CPS = 83;
    return s;
}

}  // namespace

TEST(SessColumnsTest, TextsOfAnOrdinarySession)
{
    const TSess s = Session(sfInbound | sfOK | sfPassword);
    EXPECT_EQ(Text(s, slTime), "05/01 03:04:05");
    EXPECT_EQ(Text(s, slTime, {'.', '-'}), "05.01 03-04-05");
    EXPECT_EQ(Text(s, slLength), "0:01:30");
    EXPECT_EQ(Text(s, slAddress), "In 2:5020/52");
    EXPECT_EQ(Text(s, slSystem), "North Gate");
    EXPECT_EQ(Text(s, slSysOp), "Dmitry");
    EXPECT_EQ(Text(s, slPwd), "Yes");
    EXPECT_EQ(Text(s, slRslt), "OK");
    EXPECT_EQ(Text(s, slFilesSent), "1");
    EXPECT_EQ(Text(s, slFilesRecd), "2");
    EXPECT_EQ(Text(s, slBytesSent), "1000");
    EXPECT_EQ(Text(s, slBytesRecd), "2500");
    EXPECT_EQ(Text(s, slCPS), "83");
    EXPECT_EQ(Text(s, 12), "");
    EXPECT_EQ(Text(s, -1), "");
}

TEST(SessColumnsTest, FailedOutgoingAndHumanCallers)
{
    TSess failed = Session(sfFailed);
    failed.EndTime = failed.StartTime + 3725.0 / 86400.0;
    EXPECT_EQ(Text(failed, slAddress), "Out FAILED");
    EXPECT_EQ(Text(failed, slLength), "1:02:05");
    EXPECT_EQ(Text(failed, slSystem), "");
    EXPECT_EQ(Text(failed, slFilesSent), "");
    EXPECT_EQ(Text(failed, slCPS), "");
    EXPECT_EQ(Text(failed, slSysOp), "Dmitry");  // always shown
    EXPECT_EQ(Text(failed, slRslt), "Err");
    EXPECT_EQ(Text(failed, slPwd), "No");

    const TSess human = Session(sfHuman | sfInbound | sfBadPassword);
    EXPECT_EQ(Text(human, slAddress), "Human caller");
    EXPECT_EQ(Text(human, slBytesRecd), "");
    EXPECT_EQ(Text(human, slPwd), "BAD");

    TSess fts = Session(sfFTS1);
    fts.Addr.reset();
    EXPECT_EQ(Text(fts, slAddress), "Out FTS-1");
    TSess bare = Session(0);
    bare.Addr.reset();
    EXPECT_EQ(Text(bare, slAddress), "Out ");
}

TEST(SessColumnsTest, GroupsStartAtTheFirstSessionOfADayAndNamesMatchWithoutCase)
{
    TSLColumn c;
    EXPECT_TRUE(c.StartsGroup(Session(sfFirstOfDay)));
    EXPECT_FALSE(c.StartsGroup(Session(sfInbound)));
    EXPECT_EQ(SessColumnTypeOfName("cps"), slCPS);
    EXPECT_EQ(SessColumnTypeOfName("FILES SENT"), slFilesSent);
    EXPECT_EQ(SessColumnTypeOfName("Files"), -1);
}

TEST(SessColumnsTest, TextsAgreeWithTheSharedDescriptionAndDurationRoutines)
{
    for (const std::uint8_t flags : {0x00, 0x01, 0x04, 0x05, 0x08, 0x09, 0x40, 0x41, 0x83}) {
        TSess s = Session(flags);
        EXPECT_EQ(Text(s, slAddress), SessDescription(s));
        s.Addr = TFidoAddr::Parse("65535:65535/65535.65535");
        EXPECT_EQ(Text(s, slAddress), SessDescription(s));
    }
    const bool oldDomain = ShowDomain();
    SetShowDomain(true);
    TSess d = Session(sfInbound);
    d.Addr = TFidoAddr::Parse("2:5020/52.1@fidonet");
    EXPECT_EQ(Text(d, slAddress), "In 2:5020/52.1@fidonet");
    SetShowDomain(oldDomain);
    for (const double secs : {0.0, 0.4, 59.6, 3599.0, 3600.0, 86399.0, 360000.0, -5.0, -3725.0}) {
        TSess s = Session(0);
        s.EndTime = s.StartTime + secs / 86400.0;
        EXPECT_EQ(Text(s, slLength), SecsToStr(std::llround(secs))) << secs;
    }
}
