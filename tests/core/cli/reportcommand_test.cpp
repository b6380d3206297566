#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "reportcommand.h"
#include "testdir.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string B(int b) { return std::string(1, static_cast<char>(b)); }
std::string Rep(int b, int n) { return std::string(static_cast<std::size_t>(n), static_cast<char>(b)); }

class ReportCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTMailDir(Dir.string(), TMailDirOptions{});
        W.SetDate(2026, 2, 5);
        W.At(10, 0, 0);
        W.Connect(true);
        W.Address("2:5030/15");
        W.SysOp("Anna");
        W.System("River Point");
        W.Tick(10);
        W.Traffic(100, 0, 10);
        W.Tick(50);
        W.Dial("2:5020/1", "CONNECT 9600");
        W.Connect(false);
        W.Failed("no handshake");
        WriteFileBytes((Dir / "t.log").string(), W.Text());
    }

    int Run(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"sessions", "--style", "t-mail", "--mailer-path", Dir.string(), "--year", "2026"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back((Dir / "t.log").string());
        Out.str("");
        Err.str("");
        return RunReportCommand(args, Out, Err);
    }

    // A settings file in the exact form the GUI's QSettings store writes.
    void WriteSettings(const std::string& sessList)
    {
        WriteAll(Dir / "tarvex.ini",
                 "[%General]\nNumLogs=2\n\n[Log1]\nName=Other one\n\n[Log2]\nName=My station\n\n"
                 "[My%20station.SessList]\n" + sessList);
    }

    tarvex::testing::TTestDir Scratch{"report"};
    const fs::path& Dir = Scratch.Path;
    TMailLogWriter W{TMailPhrases()};
    std::ostringstream Out, Err;
};

// A value as QSettings writes it: a backslash (in a Windows path) is escaped.
std::string IniText(const std::string& value)
{
    std::string out;
    for (const char c : value)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

}  // namespace

TEST_F(ReportCommandTest, ChosenColumnsInTheDosForm)
{
    ASSERT_EQ(Run({"--columns", "cps:5,Address:12"}), 0) << Err.str();
    const std::string expected = B(218) + Rep(196, 5) + B(194) + Rep(196, 12) + B(191) + "\r\n" +
                                 B(179) + " CPS " + B(179) + "   Address  " + B(179) + "\r\n" +
                                 B(198) + Rep(205, 5) + B(216) + Rep(205, 12) + B(181) + "\r\n" +
                                 B(179) + "10   " + B(179) + "In 2:5030/15" + B(179) + "\r\n" +
                                 B(179) + "     " + B(179) + "Out FAILED  " + B(179) + "\r\n" +
                                 B(192) + Rep(196, 5) + B(193) + Rep(196, 12) + B(217) + "\r\n";
    EXPECT_EQ(Out.str(), expected);
    EXPECT_EQ(Err.str(), "");
}

TEST_F(ReportCommandTest, StoredColumnsAndTemplatesOfAConfiguredLog)
{
    WriteAll(Dir / "head.tpl", "Head @total\n");
    WriteSettings("Column0.ColType=0\nColumn0.Heading=When\nColumn0.ShowScr=1\nColumn0.ShowFile=0\n"
                  "Column1.ColType=11\nColumn1.Heading=\"Rate, cps\"\nColumn1.ShowScr=0\nColumn1.ShowFile=1\n"
                  "Column1.FileWidth=9\nNumColumns=2\nRepHeader=" + IniText((Dir / "head.tpl").string()) + "\n");
    ASSERT_EQ(Run({"--settings", (Dir / "tarvex.ini").string(), "--log", "My station", "--output",
                   (Dir / "out.rep").string()}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "");
    const std::string rep = ReadAll(Dir / "out.rep");
    EXPECT_EQ(rep.substr(0, 9), "Head 2\r\n" + B(218));
    EXPECT_NE(rep.find(B(179) + "Rate, cps" + B(179) + "\r\n"), std::string::npos) << rep;
    EXPECT_EQ(rep.find("When"), std::string::npos);  // a screen-only column

    // --header and --columns override what is stored.
    ASSERT_EQ(Run({"--settings", (Dir / "tarvex.ini").string(), "--log", "My station", "--header",
                   (Dir / "none.tpl").string(), "--columns", "rslt:3"}), 0);
    EXPECT_EQ(Err.str(), "Cannot open template file\n");
    EXPECT_EQ(Out.str().substr(0, 1), B(218));
    EXPECT_NE(Out.str().find(B(179) + "Err" + B(179)), std::string::npos);
}

TEST_F(ReportCommandTest, NoFileColumnsAndOtherFailuresExitTwo)
{
    WriteSettings("NumColumns=1\nColumn0.ColType=2\n");
    EXPECT_EQ(Run({"--settings", (Dir / "tarvex.ini").string(), "--log", "My station"}), 2);
    EXPECT_EQ(Err.str(), "No file columns defined!\n");
    EXPECT_EQ(Out.str(), "");
    // A log without a stored section has the three screen-only default columns.
    EXPECT_EQ(Run({"--settings", (Dir / "tarvex.ini").string(), "--log", "Other one"}), 2);
    EXPECT_EQ(Err.str(), "No file columns defined!\n");

    EXPECT_EQ(Run({"--settings", (Dir / "tarvex.ini").string(), "--log", "Nobody"}), 2);
    EXPECT_NE(Err.str().find("no log named 'Nobody'"), std::string::npos);
    EXPECT_EQ(Run({"--settings", (Dir / "tarvex.ini").string()}), 2);
    EXPECT_EQ(Run({"--settings", (Dir / "missing.ini").string(), "--log", "x"}), 2);
    EXPECT_NE(Err.str().find("cannot read settings file"), std::string::npos);
    EXPECT_EQ(Run({"--columns", "cps,speed"}), 2);
    EXPECT_NE(Err.str().find("unknown column 'speed'"), std::string::npos);
    EXPECT_EQ(Run({"--columns", "cps:0"}), 2);
    EXPECT_EQ(Run({"--columns", "cps:x"}), 2);
    EXPECT_EQ(Run({"--columns", ""}), 2);
    EXPECT_EQ(Run({"--utf8", "--code-page", "EBCDIC"}), 2);
    EXPECT_EQ(Run({"--output", (Dir / "no-dir" / "r.rep").string()}), 2);
    EXPECT_NE(Err.str().find("cannot write"), std::string::npos);

    std::ostringstream out, err;
    EXPECT_EQ(RunReportCommand({}, out, err), 2);
    EXPECT_EQ(RunReportCommand({"nodes"}, out, err), 2);
    EXPECT_NE(err.str().find("unknown report 'nodes'"), std::string::npos);
}

TEST_F(ReportCommandTest, DefaultColumnsAreEveryTypeInOrder)
{
    ASSERT_EQ(Run({}), 0);
    const std::string& r = Out.str();
    const std::size_t line2 = r.find("\r\n") + 2;
    const std::string heads = r.substr(line2, r.find("\r\n", line2) - line2);
    std::size_t last = 0;
    for (const char* name : {"Time", "Length", "Address", "System", "SysOp", "Pwd", "Rslt", "Files sent",
                             "Files recd", "Bytes sent", "Bytes recd", "CPS"}) {
        const std::size_t at = heads.find(name);
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_NE(r.find("05/02 10:00:00"), std::string::npos);  // the Time column is not cut
}
