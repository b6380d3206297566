#include <gtest/gtest.h>

#include "base/fontvalue.h"

using namespace tarvex;

namespace {

TFontValue Sample()
{
    TFontValue f;
    f.Name = "Courier New";
    f.Size = 10;
    f.Bold = true;
    f.Underline = true;
    f.Pitch = 2;
    f.Color = "clBlack";
    return f;
}

bool SameFont(const TFontValue& a, const TFontValue& b)
{
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Italic == b.Italic &&
           a.Underline == b.Underline && a.StrikeOut == b.StrikeOut && a.Pitch == b.Pitch && a.Color == b.Color;
}

}  // namespace

TEST(FontValue, WritesFiveFieldsAndReadsThemBack)
{
    const TFontValue f = Sample();
    EXPECT_EQ(WriteFontValue(f), "Courier New,10,BU,2,clBlack");
    TFontValue all;
    all.Bold = all.Italic = all.Underline = all.StrikeOut = true;
    all.Color = "$00FF8000";
    EXPECT_EQ(WriteFontValue(all), ",0,BIUS,0,$00FF8000");

    TFontValue back;
    ReadFontValue(WriteFontValue(f), back);
    EXPECT_TRUE(SameFont(back, f));
}

TEST(FontValue, DefaultValueChangesNothingButTheStyle)
{
    TFontValue f = Sample();
    ReadFontValue(",,,,", f);
    TFontValue expected = Sample();
    expected.Bold = expected.Underline = false;  // the style field is always applied
    EXPECT_TRUE(SameFont(f, expected));
}

TEST(FontValue, FieldsCountOnlyWhenACommaFollows)
{
    TFontValue f = Sample();
    ReadFontValue("Arial", f);  // no comma: nothing is taken
    EXPECT_TRUE(SameFont(f, Sample()));

    ReadFontValue("Arial,12", f);  // the size has no comma after it
    EXPECT_EQ(f.Name, "Arial");
    EXPECT_EQ(f.Size, 10);
    EXPECT_TRUE(f.Bold);

    ReadFontValue("Arial,12,I,1", f);  // the pitch has no comma after it
    EXPECT_EQ(f.Size, 12);
    EXPECT_TRUE(f.Italic);
    EXPECT_FALSE(f.Bold);
    EXPECT_EQ(f.Pitch, 2);
    EXPECT_EQ(f.Color, "clBlack");
}

TEST(FontValue, TrimsAndIgnoresBadNumbers)
{
    TFontValue f = Sample();
    ReadFontValue("  Lucida Console , x12 , s b , fixed , clNavy , extra", f);
    EXPECT_EQ(f.Name, "Lucida Console");
    EXPECT_EQ(f.Size, 10);
    EXPECT_TRUE(f.Bold);
    EXPECT_TRUE(f.StrikeOut);
    EXPECT_FALSE(f.Italic);
    EXPECT_FALSE(f.Underline);
    EXPECT_EQ(f.Pitch, 2);
    EXPECT_EQ(f.Color, "clNavy , extra");  // the colour is all that remains

    ReadFontValue(" , 9 ,, 1 ,  ", f);
    EXPECT_EQ(f.Name, "Lucida Console");
    EXPECT_EQ(f.Size, 9);
    EXPECT_FALSE(f.Bold);
    EXPECT_EQ(f.Pitch, 1);
    EXPECT_EQ(f.Color, "clNavy , extra");
}
