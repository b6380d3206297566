#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mailercfg/fhmailcfg.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "phrasescommand.h"
#include "testfiles.h"
#include "windowspaths.h"

using namespace tarvex;
using tarvex::test::Le16;
using tarvex::test::Le32;

namespace {

// t-mail.lng whose phrase n reads "T<n> %s" (phrase 47 "Human caller %s", 16 with a tab).
std::string TMailLngBytes()
{
    std::string b;
    for (int n = 1; n <= 600; ++n) {
        if (n == 47)
            b += "Human caller %s";
        else if (n == 16)
            b += "Dial\t\\x\r\n";
        else
            b += "T" + std::to_string(n) + " %s";
        b += '\0';
    }
    return b + "\r\n";
}

// binkley.lng whose phrase n reads "#B<n> word %d".
std::string BinkLngBytes()
{
    std::string pool;
    std::string table;
    for (int n = 0; n < 400; ++n) {
        table += Le32(static_cast<std::uint32_t>(pool.size() + 4));
        pool += "#B" + std::to_string(n) + " word %d";
        pool += '\0';
    }
    return "    " + Le16(400) + Le16(static_cast<unsigned>(pool.size())) + "    " + table + pool;
}

std::string SFMailLngBytes()
{
    std::string pool;
    std::string index;
    for (const unsigned id : {1082u, 2034u, 1159u}) {
        index += Le16(id) + Le16(static_cast<unsigned>(pool.size() + 1));
        const std::string s = id == 1082 ? "Human caller" : "S" + std::to_string(id) + " %1 at 100%";
        pool += static_cast<char>(s.size());
        pool += s;
    }
    return std::string(28, '\0') + Le16(3) + "xx" + index + pool;
}

struct TRun
{
    int Code;
    std::string Out;
    std::string Err;
};

TRun RunPhrases(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = RunPhrasesCommand(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& s)
{
    std::vector<std::string> r;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);)
        r.push_back(l);
    return r;
}

}  // namespace

TEST(FHMailConfig, PercentDefinesAndLanguageKeyword)
{
    const test::TTempDir dir;
    std::string aliasList, language = "fhmail.lng";
    TQParser parser;
    SetUpFHMailConfigParser(parser, aliasList, language);
    parser.Parse(dir.Write("fhmail.cfg",
                           "define root = C:\\FH ; the mailer\n"
                           "AliasList %Root%\\alias.lst %UNDEF% and %root%\n"
                           "Language %ROOT%\\german.lng\n"));
    EXPECT_EQ(aliasList, "C:\\FH\\alias.lst");
    EXPECT_EQ(language, "C:\\FH\\german.lng");
    EXPECT_EQ(parser.Defines.GetValue("%ROOT%"), "C:\\FH");

    TQParser bad;
    SetUpFHMailConfigParser(bad, aliasList, language);
    try {
        bad.Parse(dir.Write("bad.cfg", "\ndefine root C:\\FH\n"));
        ADD_FAILURE();
    } catch (const EQParserError& e) {
        EXPECT_STREQ(e.what(), "Invalid Define");
        EXPECT_EQ(e.LineNo, 2);
    }
}

TEST(FHMailConfig, PercentReplacementNeverLoops)
{
    TStrDict defines;
    defines.SetValue("%A%", "x%A%y");
    std::string line = "%a% %b% %% %a%";
    ReplacePercentDefines(line, defines);
    // An undefined name comes back as itself (upper-cased); "%%" ends the replacement.
    EXPECT_EQ(line, "x%A%y %B% %% %a%");
    std::string lone = "100% sure";
    ReplacePercentDefines(lone, defines);
    EXPECT_EQ(lone, "100% sure");
}

TEST(StylePhrases, TMailListInTableOrderWithEscapes)
{
    const test::TTempDir dir;
    dir.Write("t-mail.lng", TMailLngBytes());
    const TRun r = RunPhrases({"--style", "t-MAIL", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 0) << r.Err;
    const std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "2\tT2 ");
    EXPECT_EQ(lines[3], "424\tT424 ");
    EXPECT_EQ(lines[6], "16\tDial\\t\\\\x\\r\\n");
    EXPECT_EQ(lines[12], "47\tHuman caller ");
    EXPECT_EQ(lines[20], "467\tT467 ");
    EXPECT_EQ(RunPhrases({"--style", "1", "--mailer-path", dir.Path()}).Out, r.Out);
}

TEST(StylePhrases, BinkCutsFirstWordsAndKeepsRaw273)
{
    const test::TTempDir dir;
    dir.Write("BINKLEY.LNG", BinkLngBytes());  // found whatever the letter case
    const TRun r = RunPhrases({"--style=bink/+", "--mailer-path=" + dir.Path()});
    EXPECT_EQ(r.Code, 0) << r.Err;
    const std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "100\tB100");
    EXPECT_EQ(lines[3], "305\tB305 word ");
    EXPECT_EQ(lines[7], "273\t#B273 word %d");
    EXPECT_EQ(lines.back(), "251\tB251 word ");
}

TEST(StylePhrases, SFMailCutsBeforePercentOne)
{
    const test::TTempDir dir;
    dir.Write("sf-mail.lng", SFMailLngBytes());
    const TRun r = RunPhrases({"--style", "SF-Mail", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 0) << r.Err;
    const std::vector<std::string> list = Lines(r.Out);
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(list[0], "1082\tHuman caller");
    EXPECT_EQ(list[1], "2034\tS2034 ");
    EXPECT_EQ(list[2], "2032\t");
    EXPECT_EQ(list[15], "1159\tS1159 ");
}

TEST(StylePhrases, FHMailFollowsLanguageKeywordAndDefaults)
{
    const test::TTempDir dir;
    dir.Write("fhmail.cfg", "Language deutsch.lng\n");
    dir.Write("Deutsch.LNG", "POST_SESSION 'Nachlauf beginnt'\nBBSCALL 'BBS Anruf'\nRING 'Klingeln'\n");
    dir.Write("fhmail.lng", "RING 'wrong file'\n");
    const TRun r = RunPhrases({"--style", "FHMail", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 0) << r.Err;
    const std::vector<std::string> list = Lines(r.Out);
    ASSERT_EQ(list.size(), 21u);
    EXPECT_EQ(list[0], "POST_SESSION\tNachlauf");
    EXPECT_EQ(list[1], "STARTING_PROCESS\tSTARTING_PROCESS");
    EXPECT_EQ(list[3], "BBSCALL\tBBS Anruf");
    EXPECT_EQ(list[4], "RING\tKlingeln");
    EXPECT_EQ(list[5], "BUSY\tBusy");
    EXPECT_EQ(list[6], "NO_CARRIER\tNo Carrier");
    EXPECT_EQ(list[7], "DIALING\tDIALING");

    // Without a Language line, and without fhmail.cfg at all, fhmail.lng is read.
    const test::TTempDir plain;
    plain.Write("fhmail.lng", "RING 'Ring!'\n");
    EXPECT_EQ(Lines(RunPhrases({"--style", "6", "--mailer-path", plain.Path()}).Out).at(4), "RING\tRing!");
    plain.Write("fhmail.cfg", "AliasList x\n");
    EXPECT_EQ(Lines(RunPhrases({"--style", "6", "--mailer-path", plain.Path()}).Out).at(4), "RING\tRing!");
}

TEST(StylePhrases, CommandFailures)
{
    const test::TTempDir dir;
    TRun r = RunPhrases({"--style", "SF-Mail", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 2);
    EXPECT_EQ(r.Err.substr(0, 22), "Cannot open .LNG file\n");
    EXPECT_EQ(r.Out, "");

    dir.Write("sf-mail.lng", std::string(20, '\0'));  // ends inside its header
    EXPECT_EQ(RunPhrases({"--style", "7", "--mailer-path", dir.Path()}).Err.substr(0, 21), "Cannot open .LNG file");

    dir.Write("fhmail.cfg", "Language \"unclosed\n");
    r = RunPhrases({"--style", "FHMAIL", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("(file " + dir.Path() + tarvex::testing::kMailerJoin + "fhmail.cfg, line 1): Unmatched quotes"), std::string::npos)
        << r.Err;

    r = RunPhrases({"--style", "Brake!", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("reads no language file"), std::string::npos);
    r = RunPhrases({"--style", "Nonsense", "--mailer-path", dir.Path()});
    EXPECT_EQ(r.Code, 2);
    EXPECT_NE(r.Err.find("unknown style 'Nonsense'"), std::string::npos);
    EXPECT_EQ(RunPhrases({"--style", "1"}).Code, 2);
    EXPECT_EQ(RunPhrases({"--mailer-path", "x", "--style"}).Code, 2);
}
