#include <gtest/gtest.h>

#include "base/errors.h"
#include "host/settingsstore.h"
#include "report/addrlist.h"

using namespace tarvex;

TEST(AddrListTest, ExactMatchIgnoringTheDomain)
{
    TAddrList l;
    l.LoadFromLines({"2:5020/52"});
    const bool oldDomain = ShowDomain();
    SetShowDomain(true);
    EXPECT_EQ(l.IndexOf(TFidoAddr::Parse("2:5020/52@fidonet")), 0);
    SetShowDomain(oldDomain);
    EXPECT_EQ(l.IndexOf(TFidoAddr::Parse("2:5020/52")), 0);
    EXPECT_EQ(l.IndexOf(TFidoAddr::Parse("2:5020/52.1")), -1);
    EXPECT_EQ(l.IndexOf(TFidoAddr::Parse("2:5020/520")), -1);
    EXPECT_EQ(l.IndexOf(std::optional<TFidoAddr>()), -1);
}

TEST(AddrListTest, ShorterListLeavesOldValuesButReadsOnlyItsCount)
{
    TMemorySettings store;
    TAddrList five;
    five.LoadFromLines({"1:1/1", "1:1/2", "1:1/3", "1:1/4", "1:1/5"});
    five.Save(store, "L.SessList", "Highlight");
    TAddrList two;
    two.LoadFromLines({"2:2/1", "2:2/2"});
    two.Save(store, "L.SessList", "Highlight");
    EXPECT_EQ(store.ReadString("L.SessList", "HighlightCnt", ""), "2");
    EXPECT_EQ(store.ReadString("L.SessList", "Highlight4", ""), "1:1/5");
    TAddrList back;
    back.Load(store, "L.SessList", "Highlight");
    ASSERT_EQ(back.Count(), 2u);
    EXPECT_EQ(back[1].ToString(), "2:2/2");
}

TEST(AddrListTest, EmptyStoredValuesAreSkippedAndBadLinesStopTheReading)
{
    TMemorySettings store;
    store.WriteString("S", "HighlightCnt", "3");
    store.WriteString("S", "Highlight0", "2:5020/1");
    store.WriteString("S", "Highlight1", "");
    store.WriteString("S", "Highlight2", "2:5020/3");
    TAddrList l;
    l.Load(store, "S", "Highlight");
    ASSERT_EQ(l.Count(), 2u);
    EXPECT_EQ(l[1].ToString(), "2:5020/3");

    TAddrList lines;
    EXPECT_THROW(lines.LoadFromLines({"2:5020/1", "5020/2", "2:5020/3"}), EConvertError);
    ASSERT_EQ(lines.Count(), 1u);
    std::vector<std::string> out;
    lines.SaveToLines(out);
    EXPECT_EQ(out, (std::vector<std::string>{"2:5020/1"}));
}
