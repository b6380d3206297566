#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "mailercfg/qparser.h"
#include "platform/paths.h"
#include "testfiles.h"
#include "windowspaths.h"

using namespace tarvex;

namespace {

struct TSeenLine
{
    std::int32_t LineNo;
    std::string Line;
    TQTokens Tokens;
    std::vector<int> TokenPos;
};

class QParserTest : public ::testing::Test
{
protected:
    test::TTempDir Dir;
    TQParser Parser;
    std::vector<TSeenLine> Seen;

    void RecordLines()
    {
        Parser.OnAfterParse = [this](TQParser& p, TQTokens& tokens) {
            Seen.push_back({p.LineNo, p.Line, tokens, p.TokenPos});
            return true;
        };
    }

    void ParseText(const std::string& text, const std::string& name = "main.cfg")
    {
        Parser.Parse(Dir.Write(name, text));
    }

    // Runs the parse and returns its EQParserError; fails the test when there is none.
    EQParserError ParseError(const std::string& text, const std::string& name = "main.cfg")
    {
        try {
            ParseText(text, name);
        } catch (const EQParserError& e) {
            return e;
        }
        ADD_FAILURE() << "no EQParserError";
        return EQParserError("");
    }
};

}  // namespace

TEST_F(QParserTest, StringKeywordsMatchInAnyCaseAndQuotesAndCommentsGo)
{
    std::string dir, ndx, alias = "untouched";
    Parser.AddStringHandler("Freq_Dir", dir);
    Parser.AddStringHandler("Freq_Ndx", ndx);
    Parser.AddStringHandler("AddressAliases", alias);
    ParseText("fReQ_dIr C:\\FIDO\\DIR.FRQ\r\n"
              "   Freq_Ndx   \"C:\\My Files\\index.frq\" ; where the index lives\n"
              "; AddressAliases commented.out\n"
              "          \n"
              "Unknown keyword is skipped\n");
    EXPECT_EQ(dir, "C:\\FIDO\\DIR.FRQ");
    EXPECT_EQ(ndx, "C:\\My Files\\index.frq");
    EXPECT_EQ(alias, "untouched");
    EXPECT_EQ(Parser.Depth(), 0);
}

TEST_F(QParserTest, TokenizerKeepsEveryTokenAndRecordsPositions)
{
    std::vector<std::string> aliases;
    Parser.AddListHandler("ALIAS", aliases);
    RecordLines();
    ParseText("ALIAS x\n"
              "ALIAS a b\n"
              "  key  \"a b\"  c\n"
              "\"ab\"cd \"\" q\"uote\n"
              "Freq_Dir\tvalue\n");
    EXPECT_EQ(aliases, (std::vector<std::string>{"x", "a"}));
    ASSERT_EQ(Seen.size(), 5u);
    EXPECT_EQ(Seen[2].Line, "key  \"a b  c");  // closing quote deleted, opening kept
    EXPECT_EQ(Seen[2].Tokens, (TQTokens{"key", "a b", "c"}));
    EXPECT_EQ(Seen[2].TokenPos, (std::vector<int>{1, 7, 12}));
    // Text right after a closing quote starts a new token; an empty quoted token counts; a
    // quote inside a word is an ordinary character.
    EXPECT_EQ(Seen[3].Tokens, (TQTokens{"ab", "cd", "", "q\"uote"}));
    EXPECT_EQ(Seen[3].Line, "\"abcd \" q\"uote");
    EXPECT_EQ(Seen[3].TokenPos, (std::vector<int>{2, 4, 8, 9}));
    // A tab is no separator.
    EXPECT_EQ(Seen[4].Tokens, (TQTokens{"Freq_Dir\tvalue"}));
}

TEST_F(QParserTest, UnmatchedQuoteNamesFileAndLine)
{
    const EQParserError e = ParseError("ok line\nKey \"open\n");
    EXPECT_STREQ(e.what(), "Unmatched quotes");
    EXPECT_EQ(e.LineNo, 2);
    EXPECT_EQ(e.FileName, Dir.Path("main.cfg"));
}

TEST_F(QParserTest, EmptyFileGivesOneEmptyLine)
{
    std::vector<std::int32_t> lines;
    Parser.OnBeforeParse = [&](TQParser& p, std::string& line) {
        lines.push_back(p.LineNo);
        EXPECT_EQ(line, "");
        return true;
    };
    ParseText("");
    EXPECT_EQ(lines, (std::vector<std::int32_t>{1}));
    lines.clear();
    Parser.OnBeforeParse = [&](TQParser& p, std::string&) {
        lines.push_back(p.LineNo);
        return true;
    };
    ParseText("\n\nlast", "three.cfg");
    EXPECT_EQ(lines, (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(QParserTest, DefinesRewriteLaterLinesInTheOrderDefined)
{
    std::string dir, a, b, c;
    Parser.AddStringHandler("Freq_Dir", dir);
    Parser.AddStringHandler("A", a);
    Parser.AddStringHandler("B", b);
    Parser.AddStringHandler("C", c);
    ParseText("define ROOT C:\\Fido\\  and more\n"
              "Freq_Dir ROOT\\dirs root\n"
              "define X 1\n"
              "define X 2\n"
              "define P Q\n"
              "define Q R\n"
              "A P\n"
              "define S SS\n"
              "B S\n"
              "C root\n");
    EXPECT_EQ(dir, "C:\\Fido\\");  // the value runs to the end of the line; token 1 is taken
    ASSERT_EQ(Parser.Defines.Count(), 6);  // ROOT, X, 1, P, Q, S
    EXPECT_EQ(Parser.Defines.KeyAt(0), "ROOT");
    EXPECT_EQ(Parser.Defines.ValueAt(0), "C:\\Fido\\  and more");
    // The second define of X was itself rewritten and so defines the name 1.
    EXPECT_EQ(Parser.Defines.GetValue("X"), "1");
    EXPECT_EQ(Parser.Defines.GetValue("1"), "2");
    EXPECT_EQ(a, "R");   // P -> Q, then Q -> R
    EXPECT_EQ(b, "SS");  // an inserted value is not scanned again
    EXPECT_EQ(c, "root");  // names are case-sensitive
}

TEST_F(QParserTest, DefineErrorsAndDirectiveWords)
{
    EXPECT_EQ(ParseError("\ndefine ONLYNAME\n").LineNo, 2);
    EXPECT_STREQ(ParseError("define ONLYNAME\n", "d.cfg").what(), "Invalid Define directive");
    EXPECT_STREQ(ParseError("include\n", "i.cfg").what(), "Invalid Include directive");

    EXPECT_THROW(Parser.SetDefineStr("two words"), EQParserError);
    EXPECT_THROW(Parser.SetIncludeStr("two words"), EQParserError);
    try {
        Parser.SetIncludeStr("in clude");
    } catch (const EQParserError& e) {
        EXPECT_STREQ(e.what(), "IncludeStr must be a single word");
        EXPECT_EQ(e.LineNo, 0);
    }
    EXPECT_EQ(Parser.DefineStr(), "DEFINE");
    EXPECT_EQ(Parser.IncludeStr(), "INCLUDE");
    Parser.SetDefineStr("#define");
    EXPECT_EQ(Parser.DefineStr(), "#DEFINE");
}

TEST_F(QParserTest, EmptyDefineStrMakesDefineAnUnknownKeyword)
{
    Parser.SetDefineStr("");
    std::vector<std::string> unknown;
    Parser.OnUnknownKeyword = [&](TQParser&, TQTokens& t) {
        unknown.push_back(t[0]);
        return true;
    };
    ParseText("define A B\nother\n");
    EXPECT_EQ(unknown, (std::vector<std::string>{"define", "other"}));
    EXPECT_EQ(Parser.Defines.Count(), 0);
}

TEST_F(QParserTest, HandlerKinds)
{
    bool flag = false, flag2 = true;
    std::int32_t num = 0, index = 7, index2 = 7;
    const std::vector<std::string> words{"Zero", "One"};
    TQTokens procTokens;
    void* customData = nullptr;
    TQTokens customTokens;
    int dummy = 0;
    Parser.AddHandler("Flag", THandlerKind::Boolean, std::monostate(), &flag);
    Parser.AddHandler("Flag2", THandlerKind::Boolean, std::monostate(), &flag2);
    Parser.AddHandler("Num", THandlerKind::Integer, std::monostate(), &num);
    Parser.AddHandler("Word", THandlerKind::WordIndex, &words, &index);
    Parser.AddHandler("Word2", THandlerKind::WordIndex, &words, &index2);
    Parser.AddHandler("Proc", THandlerKind::Procedure, std::monostate(),
                      TQTokenProc([&](const TQTokens& t) { procTokens = t; }));
    Parser.AddHandler("Cust", THandlerKind::Custom,
                      TQCustomProc([&](const TQTokens& t, void* data) {
                          customTokens = t;
                          customData = data;
                      }),
                      static_cast<void*>(&dummy));
    ParseText("Flag yes\nFlag2 False\nNum -42\nWord one\nWord2 two\nProc a b c\nCust x\n");
    EXPECT_TRUE(flag);
    EXPECT_FALSE(flag2);
    EXPECT_EQ(num, -42);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(index2, -1);
    EXPECT_EQ(procTokens, (TQTokens{"Proc", "a", "b", "c"}));
    EXPECT_EQ(customTokens, (TQTokens{"Cust", "x"}));
    EXPECT_EQ(customData, &dummy);
}

TEST_F(QParserTest, HandlerErrors)
{
    bool flag = false;
    std::int32_t num = 5, index = 0;
    std::string s;
    Parser.AddHandler("Flag", THandlerKind::Boolean, std::monostate(), &flag);
    Parser.AddHandler("Num", THandlerKind::Integer, std::monostate(), &num);
    Parser.AddHandler("NoList", THandlerKind::WordIndex, std::monostate(), &index);
    Parser.AddHandler("NoProc", THandlerKind::Custom, TQCustomProc(), std::monostate());
    Parser.AddStringHandler("Str", s);

    EXPECT_THROW(Parser.AddStringHandler("FLAG", s), EQParserError);
    EXPECT_THROW(Parser.AddHandler("Bad", THandlerKind::String, std::monostate(), &num), EQParserError);

    const EQParserError b = ParseError("\n\nFlag maybe\n", "b.cfg");
    EXPECT_STREQ(b.what(), "Invalid boolean value");
    EXPECT_EQ(b.LineNo, 3);
    EXPECT_EQ(b.FileName, Dir.Path("b.cfg"));
    EXPECT_STREQ(ParseError("NoList x\n", "l.cfg").what(), "List not defined");
    EXPECT_STREQ(ParseError("NoProc x\n", "p.cfg").what(), "Undefined Custom handler");

    try {
        ParseText("Num 12x\n", "n.cfg");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12x' is not a valid integer value");
    }
    EXPECT_EQ(num, 5);
    try {
        ParseText("Str a\nStr\n", "s.cfg");
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (1)");
    }
    EXPECT_EQ(s, "a");  // values stored before the error stay
    EXPECT_EQ(Parser.Depth(), 0);
}

TEST_F(QParserTest, IncludesResolveAgainstTheIncludingFileAndKeepLineNumbers)
{
    std::vector<std::string> keys;
    bool flag = false;
    Parser.AddListHandler("Key", keys);
    Parser.AddHandler("Flag", THandlerKind::Boolean, std::monostate(), &flag);
    Dir.Write("etc/Sub/Inc.Cfg", "Key sub1\ninclude deeper.cfg\nKey sub2\n");
    Dir.Write("etc/Sub/deeper.cfg", "Key deep\n");
    Dir.Write("etc/broken.cfg", "Key b1\nKey b2\nFlag perhaps\n");
    Dir.Write("etc/main.cfg", "Key one\ninclude SUB\\INC.CFG\nKey two\n");
    Parser.Parse(Dir.Path("etc/main.cfg"));
    EXPECT_EQ(keys, (std::vector<std::string>{"one", "sub1", "deep", "sub2", "two"}));

    // An error in an included file names the file as the directive wrote it.
    Dir.Write("etc/a.cfg", "Key a\ninclude broken.cfg\nKey never\n");
    TQParser p2;
    std::vector<std::string> keys2;
    p2.AddListHandler("Key", keys2);
    p2.AddHandler("Flag", THandlerKind::Boolean, std::monostate(), &flag);
    try {
        p2.Parse(Dir.Path("etc/a.cfg"));
        ADD_FAILURE();
    } catch (const EQParserError& e) {
        EXPECT_STREQ(e.what(), "Invalid boolean value");
        EXPECT_EQ(e.FileName, "broken.cfg");
        EXPECT_EQ(e.LineNo, 3);
    }
    EXPECT_EQ(keys2, (std::vector<std::string>{"a", "b1", "b2"}));
    EXPECT_EQ(p2.Depth(), 0);

    // After an include, the including file counts on from its own line number.
    Dir.Write("etc/ok.cfg", "Key 1\nKey 2\nKey 3\nKey 4\n");
    const std::string c = Dir.Write("etc/c.cfg", "\ninclude ok.cfg\nFlag 1\n");
    TQParser p3;
    p3.AddHandler("Flag", THandlerKind::Boolean, std::monostate(), &flag);
    try {
        p3.Parse(c);
        ADD_FAILURE();
    } catch (const EQParserError& e) {
        EXPECT_EQ(e.LineNo, 3);
        EXPECT_EQ(e.FileName, c);
    }
}

TEST_F(QParserTest, IncludeOfDosPathThroughDriveMapAndMissingInclude)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    std::string v;
    Parser.AddStringHandler("V", v);
    Dir.Write("drive/FIDO/Extra.cfg", "V from-drive\n");
    SetDriveMap({{'c', Dir.Path("drive")}});
    ParseText("include C:\\fido\\EXTRA.CFG\n");
    ClearDriveMap();
    EXPECT_EQ(v, "from-drive");

    const EQParserError e = ParseError("\ninclude nothere.cfg\n", "m.cfg");
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + Dir.Path("nothere.cfg") + " for parsing");
    EXPECT_EQ(e.LineNo, 0);
    EXPECT_EQ(e.FileName, "");
    TQParser top;
    try {
        top.Parse(Dir.Path("absent.cfg"));
        ADD_FAILURE();
    } catch (const EQParserError& err) {
        EXPECT_EQ(std::string(err.what()), "Cannot open file " + Dir.Path("absent.cfg") + " for parsing");
    }
}

TEST_F(QParserTest, SeventeenthNestingLevelIsAnOrderlyError)
{
    std::vector<std::string> items;
    Parser.AddListHandler("Item", items);
    Dir.Write("self.cfg", "Item x\ninclude self.cfg\nItem after\n");
    try {
        Parser.Parse(Dir.Path("self.cfg"));
        ADD_FAILURE();
    } catch (const EQParserError& e) {
        EXPECT_STREQ(e.what(), "Include files nested too deeply");
        EXPECT_EQ(e.FileName, "self.cfg");
        EXPECT_EQ(e.LineNo, 2);
    }
    EXPECT_EQ(items.size(), static_cast<std::size_t>(TQParser::MaxDepth));
    EXPECT_EQ(Parser.Depth(), 0);
}

TEST_F(QParserTest, UnknownKeywordStopEndsTheWholeParse)
{
    std::vector<std::string> keys;
    Parser.AddListHandler("Key", keys);
    int asked = 0;
    Parser.OnUnknownKeyword = [&](TQParser& p, TQTokens& t) {
        ++asked;
        EXPECT_EQ(p.CurrentFileName(), "inc.cfg");
        return t[0] != "stop";
    };
    Dir.Write("inc.cfg", "Key in1\ngoon\nstop\nKey in2\n");
    ParseText("Key top1\ninclude inc.cfg\nKey top2\n");
    EXPECT_EQ(keys, (std::vector<std::string>{"top1", "in1"}));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Parser.Depth(), 0);
}

TEST_F(QParserTest, LineFiltersAndCustomDefine)
{
    std::string ndx, path;
    Parser.AddStringHandler("Freq_Ndx", ndx);
    Parser.AddStringHandler("Path", path);
    // Drop a leading [section] tag, as one mailer writes its per-line conditions.
    Parser.OnBeforeParse = [](TQParser&, std::string& line) {
        const std::size_t first = line.find_first_not_of(' ');
        line.erase(0, first == std::string::npos ? line.size() : first);
        if (!line.empty() && line[0] == '[')
            line.erase(0, line.find(']') + 1);
        return line != "skip me";
    };
    Parser.OnDefine = [](TQParser& p, TQTokens& t) {
        if (t.size() >= 3)
            p.Defines.SetValue("%" + t[1] + "%", p.LineFromToken(2));
        return false;
    };
    ParseText("  [ZMH] Freq_Ndx c:\\ndx\ndefine Home C:\\Bink\nPath %Home%\\out\nskip me\ndefine short\n");
    EXPECT_EQ(ndx, "c:\\ndx");
    EXPECT_EQ(path, "C:\\Bink\\out");
}

TEST_F(QParserTest, LongLinesWork)
{
    std::string v, w;
    Parser.AddStringHandler("V", v);
    Parser.AddStringHandler("W", w);
    const std::string big(100000, 'p');
    const std::string name(300, 'N');
    ParseText("V " + big + " tail\ndefine " + name + " value here\nW " + name + "\n");
    EXPECT_EQ(v, big);
    EXPECT_EQ(Parser.Defines.GetValue(name), "value here");
    EXPECT_EQ(w, "value");
}

TEST_F(QParserTest, RunawayDefineExpansionIsStopped)
{
    const std::string wide(200, 'B');
    const std::string wider(200, 'C');
    const std::string widest(200, 'D');
    const EQParserError e = ParseError("define A " + wide + "\ndefine B " + wider + "\ndefine C " + widest +
                                       "\nkey AAAAA\n");
    EXPECT_STREQ(e.what(), "Line too long after define replacement");
    EXPECT_EQ(e.LineNo, 4);
}
