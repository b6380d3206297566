#include <gtest/gtest.h>

#include <string>

#include "base/errors.h"
#include "base/fidoaddr.h"

using namespace tarvex;

namespace {

// ShowDomain is program-wide; every test starts and ends with it off.
class FidoAddr : public ::testing::Test
{
protected:
    void SetUp() override { SetShowDomain(false); }
    void TearDown() override { SetShowDomain(false); }
};

void ExpectAddr(const TFidoAddr& a, unsigned zone, unsigned net, unsigned node, unsigned point)
{
    EXPECT_EQ(a.Zone, zone);
    EXPECT_EQ(a.Net, net);
    EXPECT_EQ(a.Node, node);
    EXPECT_EQ(a.Point, point);
}

}  // namespace

TEST_F(FidoAddr, ParsesAndPrintsBack)
{
    ExpectAddr(TFidoAddr::Parse("3:712/40.1"), 3, 712, 40, 1);
    EXPECT_EQ(TFidoAddr::Parse("3:712/40").ToString(), "3:712/40");
    EXPECT_EQ(TFidoAddr::Parse("3:712/40.0").ToString(), "3:712/40");
    EXPECT_EQ(TFidoAddr::Parse("2:5020/1.65535").ToString(), "2:5020/1.65535");
    EXPECT_EQ(FormatAddr(2, 5020, 1, 0), "2:5020/1");
    EXPECT_EQ(FormatAddr(65535, 65535, 65535, 7), "65535:65535/65535.7");
    ExpectAddr(TFidoAddr::Parse("3:712/40, Some BBS"), 3, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("3:712/40.1)"), 3, 712, 40, 1);
}

TEST_F(FidoAddr, ZoneAndNetGoThroughTheIntegerConversion)
{
    ExpectAddr(TFidoAddr::Parse(" 3: 712/40"), 3, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("+3:712/40"), 3, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("$10:712/40"), 16, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("-1:712/40"), 65535, 712, 40, 0);
    EXPECT_THROW(TFidoAddr::Parse("3 :712/40"), EConvertError);
    EXPECT_THROW(TFidoAddr::Parse("3:712 /40"), EConvertError);
}

TEST_F(FidoAddr, NodeAndPointMustStartRightAfterTheirSeparator)
{
    EXPECT_THROW(TFidoAddr::Parse("3:712/ 40"), EConvertError);
    EXPECT_THROW(TFidoAddr::Parse("3:712/40. 1"), EConvertError);
    EXPECT_THROW(TFidoAddr::Parse("3:712/40."), EConvertError);
    EXPECT_THROW(TFidoAddr::Parse("3:712/"), EConvertError);
    EXPECT_THROW(TFidoAddr::Parse("3:712/-4"), EConvertError);
}

TEST_F(FidoAddr, MissingPartsFail)
{
    for (const char* bad : {"712/40", "3:712", "3", "", ":", ":/", "3:/40", ":712/40", "/", "@", "abc"})
        EXPECT_THROW(TFidoAddr::Parse(bad), EConvertError) << bad;
}

TEST_F(FidoAddr, LargeNumbersKeepTheirLow16Bits)
{
    ExpectAddr(TFidoAddr::Parse("65536:65537/65538.131071"), 0, 1, 2, 65535);
    ExpectAddr(TFidoAddr::Parse("3:712/0000040"), 3, 712, 40, 0);
    EXPECT_THROW(TFidoAddr::Parse("3:712/99999999999"), EConvertError);
}

// Short plain digit runs take a shorter way than other zones and nets; both must agree.
TEST_F(FidoAddr, LongDigitRunsInZoneAndNet)
{
    ExpectAddr(TFidoAddr::Parse("000000003:000000712/40"), 3, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("0000000003:0000000712/40"), 3, 712, 40, 0);
    ExpectAddr(TFidoAddr::Parse("2147483647:999999999/1"), 65535, 51711, 1, 0);
    EXPECT_THROW(TFidoAddr::Parse("3:712:5/40"), EConvertError);  // the net "712:5" is no number
    try {
        TFidoAddr::Parse("2147483648:1/1");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2147483648' is not a valid integer value");
    }
}

TEST_F(FidoAddr, DomainOnlyWithShowDomain)
{
    const TFidoAddr off = TFidoAddr::Parse("3:712/40.1@othernet");
    EXPECT_EQ(off.Domain, "");
    EXPECT_EQ(off.ToString(), "3:712/40.1");

    SetShowDomain(true);
    const TFidoAddr on = TFidoAddr::Parse("3:712/40.1@othernet");
    EXPECT_EQ(on.Domain, "@othernet");
    EXPECT_EQ(on.ToString(), "3:712/40.1@othernet");
    EXPECT_EQ(TFidoAddr::Parse("3:712/40@fidonet").ToString(), "3:712/40@fidonet");
    EXPECT_EQ(TFidoAddr::Parse("3:712/40 @fidonet").Domain, "");  // not right after the address
    EXPECT_EQ(TFidoAddr::Parse("3:712/40@").Domain, "@");

    const std::string longDomain = "@" + std::string(400, 'd');
    EXPECT_EQ(TFidoAddr::Parse("3:712/40" + longDomain).Domain.size(), 255u);

    SetShowDomain(false);
    EXPECT_EQ(on.ToString(), "3:712/40.1");  // printing follows the current setting
}

TEST_F(FidoAddr, EqualityAndOrderIgnoreTheDomain)
{
    SetShowDomain(true);
    const TFidoAddr a = TFidoAddr::Parse("3:712/40@fidonet");
    const TFidoAddr b = TFidoAddr::Parse("3:712/40.0@othernet");
    EXPECT_TRUE(Equal(a, b));
    EXPECT_EQ(Compare(a, b), 0);

    auto cmp = [](const char* x, const char* y) { return Compare(TFidoAddr::Parse(x), TFidoAddr::Parse(y)); };
    EXPECT_EQ(cmp("1:2/3", "2:1/1"), -1);
    EXPECT_EQ(cmp("2:1/1", "1:2/3"), 1);
    EXPECT_EQ(cmp("3:712/40", "3:712/40.1"), -1);
    EXPECT_EQ(cmp("3:711/99", "3:712/1"), -1);
    EXPECT_EQ(cmp("3:712/41", "3:712/40.9"), 1);
    EXPECT_EQ(cmp("2:5020/40000", "2:5020/400"), 1);  // unsigned, not text order
    EXPECT_EQ(cmp("65535:1/1", "1:1/1"), 1);
    EXPECT_FALSE(Equal(TFidoAddr::Parse("3:712/40"), TFidoAddr::Parse("3:712/40.1")));
}

TEST_F(FidoAddr, TryParseAgreesWithParse)
{
    for (const char* text : {"3:712/40.1", "2:5020/1.65535, x", " 3: 712/40", "3:712/ 40", "3:712/40.", "3:712/",
                             "712/40", "3x:712/40", "3:7x2/40", "", "abc", "3:712/40@net"}) {
        TFidoAddr tried;
        std::string error;
        const bool ok = TFidoAddr::TryParse(text, tried, error);
        try {
            const TFidoAddr parsed = TFidoAddr::Parse(text);
            EXPECT_TRUE(ok) << text;
            EXPECT_EQ(tried.ToString(), parsed.ToString()) << text;
        } catch (const EConvertError& e) {
            EXPECT_FALSE(ok) << text;
            EXPECT_EQ(error, e.what()) << text;
        }
    }
}
