#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/codepage.h"
#include "base/datetime.h"
#include "base/errors.h"
#include "host/userinterface.h"
#include "report/reportwriter.h"
#include "testdir.h"

using namespace tarvex;

namespace {

// A column over plain strings: the record is its text; "*" starts a group.
class TTextColumn : public TColumnOf<std::string>
{
public:
    void ColumnText(const std::string& item, std::string& text) const override { text = item; }
    bool StartsGroup(const std::string& item) const override { return !item.empty() && item[0] == '*'; }
};

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}
std::string Rep(int b, int n) { return std::string(static_cast<std::size_t>(n), static_cast<char>(b)); }

struct ReportWriterTest : ::testing::Test {
    TColumnList<std::string> Columns;
    TScriptedUserInterface Ui;
    TReportStyle Style;
    tarvex::testing::TTestDir Dir{"report"};

    ReportWriterTest() { Style.Now = [] { return ComposeDateTime(EncodeDate(2026, 3, 7), EncodeTime(9, 5, 1)); }; }

    void Add(const char* heading, int width, bool file = true, bool scr = true)
    {
        auto c = std::make_unique<TTextColumn>();
        c->Heading = heading;
        c->FileWidth = width;
        c->ShowFile = file;
        c->ShowScr = scr;
        Columns.Items.push_back(std::move(c));
        Columns.CountVisible();
    }
    std::string Build(std::vector<std::string> items, TReportOptions o = {})
    {
        return BuildReport<std::string>(Columns, o, items, Ui, Style);
    }
    std::string Path(const char* name, const std::string& content)
    {
        const std::string p = (Dir.Path / name).string();
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }
};

}  // namespace

TEST_F(ReportWriterTest, OneColumnTableByteForByte)
{
    Add("CPS", 10);
    const std::string expected = B({218}) + Rep(196, 10) + B({191}) + "\r\n" +
                                 B({179}) + "    CPS   " + B({179}) + "\r\n" +
                                 B({198}) + Rep(205, 10) + B({181}) + "\r\n" +
                                 B({179}) + "123       " + B({179}) + "\r\n" +
                                 B({179}) + "45        " + B({179}) + "\r\n" +
                                 B({192}) + Rep(196, 10) + B({217}) + "\r\n";
    EXPECT_EQ(Build({"123", "45"}), expected);
    EXPECT_FALSE(Ui.Busy);  // the normal cursor is back
    EXPECT_TRUE(Ui.Transcript.empty());
}

TEST_F(ReportWriterTest, TwoColumnsCutCellsUncutHeadingsAndHiddenColumns)
{
    Add("A", 3);
    Add("screen only", 5, false, true);
    Add("Long heading", 4);
    const std::string r = Build({"abcdef", "*x"});
    const std::string top = B({218}) + Rep(196, 3) + B({194}) + Rep(196, 4) + B({191}) + "\r\n";
    const std::string heads = B({179}) + " A " + B({179}) + "Long heading" + B({179}) + "\r\n";
    const std::string under = B({198}) + Rep(205, 3) + B({216}) + Rep(205, 4) + B({181}) + "\r\n";
    const std::string row1 = B({179}) + "abc" + B({179}) + "abcd" + B({179}) + "\r\n";
    const std::string group = B({195}) + Rep(196, 3) + B({197}) + Rep(196, 4) + B({180}) + "\r\n";
    const std::string row2 = B({179}) + "*x " + B({179}) + "*x  " + B({179}) + "\r\n";
    const std::string bottom = B({192}) + Rep(196, 3) + B({193}) + Rep(196, 4) + B({217}) + "\r\n";
    EXPECT_EQ(r, top + heads + under + row1 + group + row2 + bottom);
}

TEST_F(ReportWriterTest, GroupSeparatorIsAskedOfTheFirstColumnEvenWhenNotInFiles)
{
    Add("hidden", 2, false, false);
    Add("X", 1);
    const std::string r = Build({"*a", "b", "*c"});
    // Not before the first record; before the third.
    const std::string group = B({195, 196, 180}) + "\r\n";
    EXPECT_EQ(r.find(group), r.rfind(group));
    EXPECT_LT(r.find(B({179}) + "b"), r.find(group));
    EXPECT_LT(r.find(group), r.rfind(B({179}) + "*"));
}

TEST_F(ReportWriterTest, TemplatesWithEveryMacro)
{
    Add("N", 2);
    TReportOptions o;
    o.RepHeader = Path("head.tpl", "By @program on @date at @time: @total sessions, @TOTAL, @totals\r\nplain \xB3 line\n");
    o.RepFooter = Path("foot.tpl", "end @total");
    const std::string r = Build({"1", "2", "3"}, o);
    const std::string head = "By Tarvex beta 4 on 07 Mar 26 at 09:05:01: 3 sessions, @TOTAL, 3s\r\nplain \xB3 line\r\n";
    ASSERT_EQ(r.substr(0, head.size()), head);
    EXPECT_EQ(r.substr(head.size(), 1), B({218}));
    EXPECT_EQ(r.substr(r.size() - 10), B({217}) + "\r\nend 3\r\n");
}

TEST_F(ReportWriterTest, InsertedTextIsNotScannedAgain)
{
    TDateFormat f;
    EXPECT_EQ(ExpandTemplateLine("@@total@", 0, f, 5), "@5@");
    EXPECT_EQ(ExpandTemplateLine("no macros here", 0, f, 5), "no macros here");
    f.TimeSep = '.';
    EXPECT_EQ(ExpandTemplateLine("@time", EncodeTime(23, 59, 58), f, 0), "23.59.58");
}

TEST_F(ReportWriterTest, NoTemplatesStartsAndEndsWithTheBorders)
{
    Add("N", 2);
    const std::string r = Build({});
    EXPECT_EQ(r.substr(0, 1), B({218}));
    EXPECT_EQ(r.substr(r.size() - 5), B({196, 196, 217}) + "\r\n");
}

TEST_F(ReportWriterTest, AMissingTemplateIsReportedAndTheRestIsWritten)
{
    Add("N", 2);
    TReportOptions o;
    o.RepHeader = (Dir.Path / "none.tpl").string();
    o.RepFooter = Path("foot.tpl", "end\n");
    const std::string r = Build({"1"}, o);
    ASSERT_EQ(Ui.Transcript.size(), 1u);
    EXPECT_EQ(Ui.Transcript[0], "Cannot open template file");
    EXPECT_EQ(r.substr(0, 1), B({218}));
    EXPECT_EQ(r.substr(r.size() - 5), "end\r\n");
}

TEST_F(ReportWriterTest, Utf8FormDecodesCellsFromTheOemCodePage)
{
    Add("CPS", 4);
    Style.Utf8 = true;
    Style.CellPage = FindCodePage("IBM866");
    // 0x8F is "П" in code page 866; cut to four bytes before decoding, so columns stay aligned.
    const std::string r = Build({"\x8F\x8F\x8F\x8F\x8F"});
    const std::string p = "\xD0\x9F";
    EXPECT_EQ(r, "┌────┐\n│ CPS│\n╞════╡\n│" + p + p + p + p + "│\n└────┘\n");
}

TEST_F(ReportWriterTest, Utf8CellsAreCutAndPaddedByCharacters)
{
    Add("Who", 3);
    Style.Utf8 = true;
    Style.CellPage = FindCodePage("UTF-8");
    const std::string p = "\xD0\x9F";  // one character, two bytes
    EXPECT_EQ(Build({p + p + p + p, p + "\xFF"}), "┌───┐\n│Who│\n╞═══╡\n│" + p + p + p + "│\n│" + p + "\uFFFD │\n└───┘\n");
}

TEST_F(ReportWriterTest, WritingReplacesTheFileWholeOrNotAtAll)
{
    const std::string path = Path("out.rep", "old");
    std::string error;
    ASSERT_TRUE(WriteReportFile(path, "new report", error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::string got((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(got, "new report");
    EXPECT_FALSE(WriteReportFile((Dir.Path / "no-dir" / "x.rep").string(), "x", error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ReportWriterTest, WriteReportStreamsTheSameBytesAndLeavesTheOldFileOnFailure)
{
    Add("N", 3);
    std::vector<std::string> items;
    for (int i = 0; i < 100000; ++i)  // more than one block of the builder
        items.push_back(std::to_string(i % 1000));
    TReportOptions o;
    o.FileName = Path("big.rep", "old");
    std::string error;
    ASSERT_TRUE(WriteReport<std::string>(Columns, o, items, Ui, Style, error)) << error;
    std::ifstream in(o.FileName, std::ios::binary);
    const std::string got((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(got, Build(items));
    EXPECT_FALSE(std::filesystem::exists(o.FileName + ".$$$"));

    o.FileName = (Dir.Path / "no-dir" / "x.rep").string();
    EXPECT_FALSE(WriteReport<std::string>(Columns, o, items, Ui, Style, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Ui.Busy);
}
