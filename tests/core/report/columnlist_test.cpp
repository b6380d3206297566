#include <gtest/gtest.h>

#include "host/settingsstore.h"
#include "report/sesscolumns.h"

using namespace tarvex;

namespace {

std::vector<std::string> Headings(const TSessColumnList& l)
{
    std::vector<std::string> out;
    for (const auto& c : l.Items)
        out.push_back(c->Heading);
    return out;
}

}  // namespace

TEST(ColumnListTest, DefaultsWhenNumColumnsIsMissingOrZero)
{
    TMemorySettings store;
    TSessColumnList l;
    l.Load(store, "Log.SessList", SessColumnFactory(), SessListDefaultColumns());
    ASSERT_EQ(l.Items.size(), 3u);
    EXPECT_EQ(Headings(l), (std::vector<std::string>{"Time", "Address", "System"}));
    EXPECT_EQ(l.Items[0]->ColType, slTime);
    EXPECT_EQ(l.Items[1]->ColType, slAddress);
    EXPECT_EQ(l.Items[2]->ScrWidth, 120);
    EXPECT_EQ(l.Items[2]->FileWidth, 10);
    EXPECT_EQ(l.NumScr, 3);
    EXPECT_EQ(l.NumFile, 0);

    store.WriteString("Log.SessList", "NumColumns", "0");
    l.Load(store, "Log.SessList", SessColumnFactory(), SessListDefaultColumns());
    EXPECT_EQ(l.Items.size(), 3u);
}

TEST(ColumnListTest, SavedColumnsReadBackWithGridWidthsTaken)
{
    TMemorySettings store;
    TSessColumnList l;
    l.Load(store, "S", SessColumnFactory(), SessListDefaultColumns());
    l.Items[1]->ShowScr = false;  // shown nowhere but still stored
    l.Items[2]->ShowFile = true;
    l.Items[2]->FileWidth = 33;
    const int grid[] = {77, 55};  // grid columns 0 and 1 are list columns 0 and 2
    l.Save(store, "S", grid);
    EXPECT_EQ(store.ReadString("S", "NumColumns", ""), "3");
    EXPECT_EQ(store.ReadString("S", "Column2.ScrWidth", ""), "55");
    EXPECT_EQ(store.ReadString("S", "Column2.ShowFile", ""), "1");
    EXPECT_EQ(store.ReadString("S", "Column1.ShowScr", ""), "0");

    TSessColumnList back;
    back.Load(store, "S", SessColumnFactory(), SessListDefaultColumns());
    ASSERT_EQ(back.Items.size(), 3u);
    EXPECT_EQ(back.Items[0]->ScrWidth, 77);
    EXPECT_EQ(back.Items[1]->ScrWidth, 90);  // not shown: keeps its own width
    EXPECT_FALSE(back.Items[1]->ShowScr);
    EXPECT_EQ(back.Items[2]->ScrWidth, 55);
    EXPECT_EQ(back.Items[2]->FileWidth, 33);
    EXPECT_EQ(back.NumScr, 2);
    EXPECT_EQ(back.NumFile, 1);
}

// A width the user set is kept; one never stored is the view's to fit to its screen.
TEST(ColumnListTest, OnlyWidthsNeverStoredTakeTheOpeningWidth)
{
    const TSessColumnList::OpeningWidth doubled = [](const TColumn& c, std::int32_t design) {
        return c.ColType == slTime ? design * 2 : design + 1;
    };
    TMemorySettings store;
    TSessColumnList l;
    l.Load(store, "S", SessColumnFactory(), SessListDefaultColumns(), doubled);
    ASSERT_EQ(l.Items.size(), 3u);
    EXPECT_EQ(l.Items[0]->ScrWidth, 180);
    EXPECT_EQ(l.Items[2]->ScrWidth, 121);

    store.WriteString("S", "NumColumns", "2");
    store.WriteString("S", "Column0.ScrWidth", "40");
    store.WriteString("S", "Column1.ColType", "0");
    l.Load(store, "S", SessColumnFactory(), SessListDefaultColumns(), doubled);
    EXPECT_EQ(l.Items[0]->ScrWidth, 40);
    EXPECT_EQ(l.Items[1]->ScrWidth, 200);
}

TEST(ColumnListTest, MissingValuesTakeTheirDefaultsAndWidthsStayInRange)
{
    TMemorySettings store;
    store.WriteString("S", "NumColumns", "2");
    store.WriteString("S", "Column1.FileWidth", "99999999");
    store.WriteString("S", "Column1.ScrWidth", "-5");
    TSessColumnList l;
    l.Load(store, "S", SessColumnFactory(), SessListDefaultColumns());
    ASSERT_EQ(l.Items.size(), 2u);
    EXPECT_EQ(l.Items[0]->ColType, 0);
    EXPECT_EQ(l.Items[0]->Heading, "");
    EXPECT_TRUE(l.Items[0]->ShowScr);
    EXPECT_FALSE(l.Items[0]->ShowFile);
    EXPECT_EQ(l.Items[0]->ScrWidth, 100);
    EXPECT_EQ(l.Items[0]->FileWidth, 10);
    EXPECT_EQ(l.Items[1]->FileWidth, kMaxFileWidth);
    EXPECT_EQ(l.Items[1]->ScrWidth, 0);
}

TEST(ColumnListTest, HiddenColumnKeepsItsPlaceWhenShownColumnsAreDragged)
{
    TSessColumnList l;
    for (const char* h : {"hidden", "A", "B"}) {
        auto c = std::make_unique<TSLColumn>();
        c->Heading = h;
        c->ShowScr = std::string(h) != "hidden";
        l.Items.push_back(std::move(c));
    }
    l.MoveGridColumn(1, 0);  // B before A
    EXPECT_EQ(Headings(l), (std::vector<std::string>{"hidden", "B", "A"}));
    l.MoveGridColumn(0, 1);  // and back
    EXPECT_EQ(Headings(l), (std::vector<std::string>{"hidden", "A", "B"}));
    // A hidden column between two shown ones stays among the hidden in its order.
    EXPECT_EQ(OrderAfterGridMove({true, false, true}, 0, 1), (std::vector<std::size_t>{1, 2, 0}));
    EXPECT_EQ(OrderAfterGridMove({true, false, true}, 1, 0), (std::vector<std::size_t>{2, 0, 1}));
    EXPECT_EQ(OrderAfterGridMove({true, true}, 0, 7), (std::vector<std::size_t>{0, 1}));
}
