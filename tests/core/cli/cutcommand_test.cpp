#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cutcommand.h"
#include "platform/filecut.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

// 100 lines of 51 bytes: "0001 xxx...x\n".
std::string FixedLines()
{
    std::string s;
    for (int i = 1; i <= 100; ++i) {
        std::string n = std::to_string(i);
        s += std::string(4 - n.size(), '0') + n + " " + std::string(45, 'x') + "\n";
    }
    return s;
}

class CutCommandTest : public ::testing::Test
{
protected:
    int Run(std::vector<std::string> args)
    {
        Out.str("");
        Err.str("");
        return RunCutCommand(args, Out, Err);
    }
    tarvex::testing::TTestDir Dir{"cutcmd"};
    const fs::path Log = Dir.Path / "bink.log";
    std::ostringstream Out, Err;
};

}  // namespace

TEST_F(CutCommandTest, ByKBytesKeepsFromTheFirstWholeLineOfTheLastKBytes)
{
    const std::string text = FixedLines();  // 5100 bytes; 1024 from the end is inside line 80
    Write(Log, text);
    ASSERT_EQ(Run({"--kbytes", "1", Log.string()}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "removed 4080 bytes in 80 lines, kept 1020 bytes in 20 lines\n");
    EXPECT_EQ(Read(Log), text.substr(4080));
    EXPECT_FALSE(fs::exists(tarvex::CutCopyPath(Log.string())));
    // Cutting again finds nothing to drop and says so.
    ASSERT_EQ(Run({"--kbytes", "1", Log.string()}), 0);
    EXPECT_EQ(Out.str(), "removed 0 bytes in 0 lines, kept 1020 bytes in 20 lines\n");
    EXPECT_EQ(Read(Log), text.substr(4080));
}

TEST_F(CutCommandTest, ByDaysReadsTheDatesAsTheStyleDoes)
{
    std::string text = "\n";
    for (int day = 10; day <= 14; ++day)
        for (int n = 0; n < 3; ++n)
            text += "+ " + std::to_string(day) + " Mar 18:4" + std::to_string(n) + ":00 BINK line\n";
    text += "final line without LF";
    Write(Log, text);
    ASSERT_EQ(Run({"--days", "2", "--style", "Generic Bink-style", "--year", "2026", Log.string()}), 0) << Err.str();
    const std::size_t kept = text.find("+ 13 Mar");
    EXPECT_EQ(Out.str(), "removed " + std::to_string(kept) + " bytes in 10 lines, kept " +
                             std::to_string(text.size() - kept) + " bytes in 7 lines\n");
    EXPECT_EQ(Read(Log), text.substr(kept));
}

TEST_F(CutCommandTest, UsageErrorsLeaveTheLogAlone)
{
    const std::string text = FixedLines();
    Write(Log, text);
    const std::vector<std::vector<std::string>> bad = {
        {Log.string()},
        {"--kbytes", "1", "--days", "1", "--style", "1", Log.string()},
        {"--days", "1", Log.string()},  // every line would be dated today
        {"--kbytes", "0", Log.string()},
        {"--kbytes", "-3", Log.string()},
        {"--kbytes", "1k", Log.string()},
        {"--kbytes"},
        {"--kbytes", "1"},
        {"--kbytes", "1", "--style", "nosuch", Log.string()},
        {"--kbytes", "1", "--year", "0", Log.string()},
        {"--kbytes", "1", "--mailer-path", "x", Log.string()},
        {"--kbytes", "1", Log.string(), Log.string()},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(Run(args), 2) << args.size();
        EXPECT_NE(Err.str().find("usage: tarvex-cli cut"), std::string::npos);
        EXPECT_TRUE(Out.str().empty());
    }
    EXPECT_EQ(Read(Log), text);
}

TEST_F(CutCommandTest, MissingLogAndLeftoverCopyAreErrors_ATemporaryCopyIsNot)
{
    EXPECT_EQ(Run({"--kbytes", "1", (Dir.Path / "none.log").string()}), 2);
    EXPECT_NE(Err.str().find("cannot read"), std::string::npos);

    const std::string text = FixedLines();
    Write(Log, text);
    const std::string copy = tarvex::CutCopyPath(Log.string());
    Write(copy, "kept lines\n");
    EXPECT_EQ(Run({"--kbytes", "1000", Log.string()}), 2);  // even with nothing to cut
    EXPECT_NE(Err.str().find("Compare the two files"), std::string::npos) << Err.str();
    EXPECT_EQ(Run({"--kbytes", "1", Log.string()}), 2);
    EXPECT_EQ(Read(Log), text);
    EXPECT_EQ(Read(copy), "kept lines\n");

    fs::remove(copy);
    Write(tarvex::CutCopyTempPath(Log.string()), "half a co");
    EXPECT_EQ(Run({"--kbytes", "1", Log.string()}), 0) << Err.str();
    EXPECT_EQ(Read(Log), text.substr(4080));
    EXPECT_FALSE(fs::exists(tarvex::CutCopyTempPath(Log.string())));
}
