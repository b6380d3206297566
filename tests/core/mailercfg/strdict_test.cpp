#include <gtest/gtest.h>

#include "base/errors.h"
#include "mailercfg/strdict.h"

using tarvex::TStrDict;

TEST(StrDict, KeysAreCaseBlindAndKeepFirstSpelling)
{
    TStrDict d;
    d.SetValue("abc", "1");
    d.SetValue("ABC", "2");
    ASSERT_EQ(d.Count(), 1);
    EXPECT_EQ(d.KeyAt(0), "abc");
    EXPECT_EQ(d.ValueAt(0), "2");
    EXPECT_EQ(d.GetValue("Abc"), "2");
    EXPECT_EQ(d.GetValue("never"), "never");
    EXPECT_EQ(d.IndexOf("NEVER"), -1);
    EXPECT_EQ(d.ValueOrKey("aBc"), "2");
    const std::string_view missing = "never";
    EXPECT_EQ(d.ValueOrKey(missing).data(), missing.data());  // the key itself, not a copy
}

TEST(StrDict, KeepsInsertionOrderAndGuardsPositions)
{
    TStrDict d;
    d.SetValue("z", "1");
    d.SetValue("a", "2");
    d.SetValue("m", "3");
    d.SetValue("A", "4");
    ASSERT_EQ(d.Count(), 3);
    EXPECT_EQ(d.KeyAt(0), "z");
    EXPECT_EQ(d.KeyAt(1), "a");
    EXPECT_EQ(d.ValueAt(1), "4");
    EXPECT_EQ(d.KeyAt(2), "m");
    EXPECT_THROW(d.KeyAt(3), tarvex::EListError);
    EXPECT_THROW(d.ValueAt(-1), tarvex::EListError);
    // An empty value is a value, not a missing key.
    d.SetValue("e", "");
    EXPECT_EQ(d.GetValue("E"), "");
}
