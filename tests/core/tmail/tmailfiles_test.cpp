#include <gtest/gtest.h>

#include "mailercfg/qparser.h"
#include "platform/paths.h"
#include "testdir.h"
#include "tmail/tmailfiles.h"
#include "tmailfixture.h"
#include "windowspaths.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

class SysPathTest : public ::testing::Test
{
protected:
    void TearDown() override { ClearDriveMap(); }

    tarvex::testing::TTestDir Dir{"syspath"};
    std::string Mailer() const { return Dir.Path.string(); }
    void Ctl(const std::string& text) { WriteFileBytes(Mailer() + "/t-mail.ctl", text); }
};

}  // namespace

TEST_F(SysPathTest, SysPathThroughTheDriveMapAndCaseBlind)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();
    Ctl("; line 1\r\nAddress 2:5020/1\r\n  Sys_Path   C:\\T-MAIL\\SYS\\   ; system files\r\n");
    WriteFileBytes(Mailer() + "/t-mail/Sys/T-MAIL.S01", "x");
    SetDriveMap({{'c', Mailer()}});
    const std::string sys = ReadSysPath(Mailer());
    EXPECT_EQ(sys, "C:\\T-MAIL\\SYS");
    EXPECT_EQ(SysFilePath(sys, TrafficFileName(1)), Mailer() + "/t-mail/Sys/T-MAIL.S01");
}

TEST_F(SysPathTest, MissingOrEmptyKeywordMeansTheMailerDirectory)
{
    Ctl("Address 2:5020/1\r\n");
    EXPECT_EQ(ReadSysPath(Mailer()), Mailer());
    EXPECT_EQ(SysFilePath(Mailer(), "t-hist.$01"), Mailer() + tarvex::testing::kMailerJoin + "t-hist.$01");
    Ctl("Sys_Path \\\r\n");  // only the trailing backslash, which goes
    EXPECT_EQ(ReadSysPath(Mailer()), Mailer());
}

TEST_F(SysPathTest, RelativeSysPathLiesInTheMailerDirectory)
{
    TARVEX_SKIP_ON_WINDOWS_PATHS();  // found case-blind on POSIX, by the file system on Windows
    Ctl("Sys_Path sys\\line1\\\r\n");
    const std::string sys = ReadSysPath(Mailer());
    EXPECT_EQ(sys, Mailer() + "\\sys\\line1");
    WriteFileBytes(Mailer() + "/SYS/LINE1/t-mail.s01", "x");
    EXPECT_EQ(SysFilePath(sys, "t-mail.s01"), Mailer() + "/SYS/LINE1/t-mail.s01");
}

TEST_F(SysPathTest, MissingConfigurationIsTheParsersError)
{
    try {
        ReadSysPath(Mailer());
        FAIL() << "no error";
    } catch (const EQParserError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + Mailer() + tarvex::testing::kMailerJoin + "t-mail.ctl for parsing");
    }
    Ctl("Sys_Path \"C:\\UNCLOSED\r\n");
    EXPECT_THROW(ReadSysPath(Mailer()), EQParserError);
}
