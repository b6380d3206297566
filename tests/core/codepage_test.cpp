#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

using namespace tarvex;

// The system's converter reads the pages sysops' logs are written in, by any of their names.
TEST(CodePage, PagesByTheNamesTheWindowTakes)
{
    const auto cp866 = FindCodePage(" cp866 ");
    ASSERT_TRUE(cp866);
    EXPECT_FALSE(cp866->Utf8);
    EXPECT_EQ(cp866->Upper[0x8F - 128], u'\u041F');  // П
    EXPECT_EQ(cp866->Upper[0xFE - 128], u'\u25A0');  // ■, T-Mail's marker
    EXPECT_EQ(FindCodePage("IBM866")->Upper, cp866->Upper);
    EXPECT_EQ(FindCodePage("windows-1251")->Upper[0xC0 - 128], u'\u0410');
    EXPECT_EQ(FindCodePage("KOI8-R")->Upper[0xE1 - 128], u'\u0410');
    EXPECT_EQ(FindCodePage("IBM437")->Upper[0xC4 - 128], u'\u2500');
    EXPECT_TRUE(FindCodePage("utf-8")->Utf8);

    std::string error;
    EXPECT_FALSE(FindCodePage("no-such-page", &error));
    EXPECT_EQ(error, "Unknown code page \"no-such-page\"");
    EXPECT_FALSE(FindCodePage("", &error));
    EXPECT_FALSE(FindCodePage("SHIFT_JIS", &error));
    EXPECT_EQ(error, "Code page \"SHIFT_JIS\" cannot be read byte for byte");
    EXPECT_FALSE(FindCodePage("UTF-16", &error));
}
