#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "testdir.h"
#include "windowspaths.h"

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

// A lower-case tree: <root>/srv/fido/t-mail (the mailer), <root>/srv/fido/outbound.
class DriveGuessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TARVEX_SKIP_ON_WINDOWS_PATHS();
        fs::create_directories(Root() / "srv" / "fido" / "t-mail");
        fs::create_directories(Root() / "srv" / "fido" / "outbound");
        std::ofstream(Root() / "srv" / "fido" / "t-mail" / "dir.frq") << "x";
        ClearDriveMap();
        SetDriveGuessReport([this](char l, const std::string& d) { Reports.emplace_back(l, d); });
    }
    void TearDown() override
    {
        SetDriveGuessReport({});
        SetDriveGuessBase("");
        ClearDriveMap();
    }
    fs::path Root() const { return Scratch.Path; }
    std::string R(const std::string& rest = {}) const { return Root().string() + rest; }

    tarvex::testing::TTestDir Scratch{"driveguess"};
    std::vector<std::pair<char, std::string>> Reports;
};

}  // namespace

TEST_F(DriveGuessTest, TakesAsManyLeadingFoldersAsMatchTheMailerPath)
{
    SetDriveGuessBase(R("/srv/fido/t-mail"));
    EXPECT_EQ(ResolvePath("C:\\FIDO\\T-MAIL\\DIR.FRQ"), R("/srv/fido/t-mail/dir.frq"));
    EXPECT_EQ(DriveGuess('c'), R("/srv"));
    // Later paths on the same drive go under the guess, found or not.
    EXPECT_EQ(ResolvePath("C:\\FIDO\\OUTBOUND"), R("/srv/fido/outbound"));
    EXPECT_EQ(ResolvePath("c:\\FIDO\\NEW\\X"), R("/srv/fido/NEW/X"));
    ASSERT_EQ(Reports.size(), 1u);  // each guess is told once
    EXPECT_EQ(Reports[0], std::make_pair('C', R("/srv")));
}

TEST_F(DriveGuessTest, AnAncestorOfTheMailerPathMatchesToo)
{
    SetDriveGuessBase(R("/srv/fido/t-mail/"));
    // D + FIDO is an ancestor of the mailer path.
    EXPECT_EQ(ResolvePath("D:\\FIDO\\OUTBOUND\\1.PKT"), R("/srv/fido/outbound/1.PKT"));
    EXPECT_EQ(DriveGuess('D'), R("/srv"));
    // A drive that names the mailer folder itself as its root.
    EXPECT_EQ(ResolvePath("E:\\T-MAIL\\DIR.FRQ"), R("/srv/fido/t-mail/dir.frq"));
    EXPECT_EQ(DriveGuess('E'), R("/srv/fido"));
}

TEST_F(DriveGuessTest, MappingsWinAndNoMatchMeansNoGuess)
{
    SetDriveGuessBase(R("/srv/fido/t-mail"));
    SetDriveMap({{'C', R("/srv/fido")}});
    EXPECT_EQ(ResolvePath("C:\\T-MAIL\\DIR.FRQ"), R("/srv/fido/t-mail/dir.frq"));
    EXPECT_FALSE(DriveGuess('C'));
    EXPECT_EQ(ResolvePath("F:\\OTHER\\PLACE"), "/OTHER/PLACE");
    EXPECT_FALSE(DriveGuess('F'));
    EXPECT_TRUE(Reports.empty());
    // A failed guess is tried again with the next path of the drive.
    EXPECT_EQ(ResolvePath("F:\\FIDO\\T-MAIL\\DIR.FRQ"), R("/srv/fido/t-mail/dir.frq"));
    EXPECT_EQ(DriveGuess('F'), R("/srv"));
}

TEST_F(DriveGuessTest, AnotherMailerForgetsTheGuessesAndNoBaseMeansNone)
{
    SetDriveGuessBase(R("/srv/fido/t-mail"));
    EXPECT_EQ(ResolvePath("C:\\FIDO\\T-MAIL\\DIR.FRQ"), R("/srv/fido/t-mail/dir.frq"));
    SetDriveGuessBase(R("/srv/fido/outbound"));
    EXPECT_FALSE(DriveGuess('C'));
    SetDriveGuessBase("");
    EXPECT_EQ(ResolvePath("C:\\FIDO\\T-MAIL\\DIR.FRQ"), "/FIDO/T-MAIL/DIR.FRQ");
    SetDriveGuessBase("C:\\FIDO\\T-MAIL");  // a mailer path on a drive: nothing to guess from
    EXPECT_EQ(ResolvePath("C:\\FIDO\\T-MAIL\\DIR.FRQ"), "/FIDO/T-MAIL/DIR.FRQ");
    EXPECT_EQ(Reports.size(), 1u);
}
