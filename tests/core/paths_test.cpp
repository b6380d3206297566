#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/paths.h"

using namespace tarvex;
namespace fs = std::filesystem;

TEST(JoinMailerPath, CompletesBareNamesOnly)
{
    EXPECT_EQ(JoinMailerPath("C:\\T-MAIL", "T-MAIL.CTL"), "C:\\T-MAIL\\T-MAIL.CTL");
    EXPECT_EQ(JoinMailerPath("C:\\T-MAIL\\", "T-MAIL.CTL"), "C:\\T-MAIL\\T-MAIL.CTL");
    EXPECT_EQ(JoinMailerPath("C:\\T-MAIL", "CFG\\X.CFG"), "CFG\\X.CFG");
    EXPECT_EQ(JoinMailerPath("C:\\T-MAIL", "D:\\X.CFG"), "D:\\X.CFG");
    EXPECT_EQ(JoinMailerPath("/srv/mailer/", "x.cfg"), "/srv/mailer/x.cfg");
    EXPECT_EQ(JoinMailerPath("", "X.CFG"), "X.CFG");
    EXPECT_EQ(JoinMailerPath("C:\\T-MAIL", ""), "C:\\T-MAIL\\");
}

#ifndef _WIN32

namespace {

// A scratch tree of mixed-case names:
//   Mailer/T-Mail.Ctl  Mailer/Cfg/SF-Mail.cfg  Mailer/cfg2/  Files/A/b/Deep.Zip  Files/.hidden/Deep.zip
//   Files/a.txt  Files/Z/deep.zip
class PathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device rd;
        Root = fs::temp_directory_path() / ("tarvex-paths-" + std::to_string(rd()));
        fs::create_directories(Root / "Mailer" / "Cfg");
        fs::create_directories(Root / "Mailer" / "cfg2");
        fs::create_directories(Root / "Files" / "A" / "b");
        fs::create_directories(Root / "Files" / ".hidden");
        fs::create_directories(Root / "Files" / "Z");
        Touch(Root / "Mailer" / "T-Mail.Ctl", "ctl");
        Touch(Root / "Mailer" / "Cfg" / "SF-Mail.cfg", "cfg");
        Touch(Root / "Files" / "A" / "b" / "Deep.Zip", "1");
        Touch(Root / "Files" / ".hidden" / "Deep.zip", "2");
        Touch(Root / "Files" / "Z" / "deep.zip", "3");
        Touch(Root / "Files" / "a.txt", "4");
        ClearDriveMap();
    }

    void TearDown() override
    {
        ClearDriveMap();
        std::error_code ec;
        fs::remove_all(Root, ec);
    }

    static void Touch(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

    std::string R() const { return Root.string(); }

    fs::path Root;
};

}  // namespace

TEST_F(PathsTest, ResolvesComponentsCaseBlind)
{
    EXPECT_EQ(ResolvePath(R() + "\\MAILER\\T-MAIL.CTL"), R() + "/Mailer/T-Mail.Ctl");
    EXPECT_EQ(ResolvePath(R() + "/mailer/cfg/sf-mail.CFG"), R() + "/Mailer/Cfg/SF-Mail.cfg");
    EXPECT_EQ(ResolvePath(R() + "/Mailer/CFG2"), R() + "/Mailer/cfg2");  // exact names win
    EXPECT_EQ(ResolvePath(R() + "\\MAILER\\"), R() + "/Mailer/");
    EXPECT_EQ(ResolvePath(R() + "\\\\MAILER\\\\T-MAIL.CTL"), R() + "/Mailer/T-Mail.Ctl");
}

TEST_F(PathsTest, UnresolvableRestIsKeptAsWritten)
{
    EXPECT_EQ(ResolvePath(R() + "\\MAILER\\NOPE\\T-MAIL.CTL"), R() + "/Mailer/NOPE/T-MAIL.CTL");
    EXPECT_EQ(ResolvePath(""), "");
    EXPECT_EQ(ResolvePath("\\"), "/");
}

TEST_F(PathsTest, DriveLettersGoThroughTheDriveMap)
{
    SetDriveMap({{'c', R()}});
    EXPECT_EQ(ResolvePath("C:\\MAILER\\T-MAIL.CTL"), R() + "/Mailer/T-Mail.Ctl");
    EXPECT_EQ(ResolvePath("c:\\mailer\\t-mail.ctl"), R() + "/Mailer/T-Mail.Ctl");
    SetDriveMap({{'D', R() + "/Mailer/"}});
    EXPECT_EQ(ResolvePath("d:\\CFG\\SF-MAIL.CFG"), R() + "/Mailer/Cfg/SF-Mail.cfg");
    // No mapping: the letter is dropped and the rest taken from the root.
    EXPECT_EQ(ResolvePath("E:" + R() + "\\MAILER"), R() + "/Mailer");
    EXPECT_EQ(ResolvePath("E:NOWHERE\\X"), "/NOWHERE/X");
    ClearDriveMap();
    EXPECT_EQ(ResolvePath("D:\\CFG"), "/CFG");
}

TEST_F(PathsTest, FindFileInDirsReturnsTheMailerText)
{
    SetDriveMap({{'C', R()}});
    const std::vector<std::string> dirs = {"C:\\NOPE\\", "C:\\MAILER\\", "C:\\MAILER\\CFG\\"};
    EXPECT_EQ(FindFileInDirs("SF-MAIL.CFG", dirs), "C:\\MAILER\\CFG\\SF-MAIL.CFG");
    EXPECT_EQ(FindFileInDirs("T-MAIL.CTL", dirs), "C:\\MAILER\\T-MAIL.CTL");
    EXPECT_EQ(FindFileInDirs("CFG", dirs), "");  // a directory is not an ordinary file
    EXPECT_EQ(FindFileInDirs("", dirs), "");
    EXPECT_EQ(FindFileInDirs("MISSING.ZIP", dirs), "");
    EXPECT_EQ(FindFileInDirs("T-MAIL.CTL", {}), "");
}

TEST_F(PathsTest, FindFileInTreeWalksDepthFirstInNameOrder)
{
    SetDriveMap({{'C', R()}});
    // "A" sorts before "Z" and before the file "a.txt"; ".hidden" is skipped.
    EXPECT_EQ(FindFileInTree("DEEP.ZIP", "C:\\FILES"), "C:\\FILES\\A\\b\\Deep.Zip");
    EXPECT_EQ(FindFileInTree("a.TXT", "C:\\FILES"), "C:\\FILES\\a.txt");
    EXPECT_EQ(FindFileInTree("a.txt", "C:\\FILES\\"), "C:\\FILES\\a.txt");
    EXPECT_EQ(FindFileInTree("b", "C:\\FILES"), "");  // directories are not hits
    EXPECT_EQ(FindFileInTree("NONE.ZIP", "C:\\FILES"), "");
    EXPECT_EQ(FindFileInTree("DEEP.ZIP", "C:\\NO-SUCH-DIR"), "");
    EXPECT_EQ(FindFileInTree("", "C:\\FILES"), "");
}

TEST_F(PathsTest, FindFileInTreeSurvivesSymlinkLoops)
{
    std::error_code ec;
    fs::create_directory_symlink(Root / "Files", Root / "Files" / "A" / "loop", ec);
    if (ec)
        GTEST_SKIP() << "no symlinks here";
    EXPECT_EQ(FindFileInTree("NONE.ZIP", R() + "\\Files"), "");
    EXPECT_EQ(FindFileInTree("deep.zip", R() + "\\Files"), R() + "\\Files\\A\\b\\Deep.Zip");
}

TEST_F(PathsTest, FileHelpers)
{
    const std::string ctl = R() + "/Mailer/T-Mail.Ctl";
    EXPECT_TRUE(FileExists(ctl));
    EXPECT_FALSE(FileExists(R() + "/Mailer"));
    EXPECT_FALSE(FileExists(R() + "/missing"));
    EXPECT_TRUE(DirectoryExists(R() + "/Mailer"));
    EXPECT_FALSE(DirectoryExists(ctl));

    std::string text, error;
    EXPECT_TRUE(ReadWholeFile(ctl, text, &error));
    EXPECT_EQ(text, "ctl");
    EXPECT_FALSE(ReadWholeFile(R() + "/missing", text, &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(ReadWholeFile(R() + "/Mailer", text));

    const std::string big(200000, 'x');  // more than one read
    Touch(Root / "big", big + "\r\n\0z");
    EXPECT_TRUE(ReadWholeFile(R() + "/big", text));
    EXPECT_EQ(text.size(), big.size() + 2);

    EXPECT_EQ(ListDirectory(R() + "/Files"), (std::vector<std::string>{".hidden", "A", "Z", "a.txt"}));
    EXPECT_TRUE(ListDirectory(R() + "/missing").empty());
    EXPECT_TRUE(ListDirectory(ctl).empty());

    EXPECT_EQ(ParentDir("a/b/c"), "a/b");
    EXPECT_EQ(ParentDir("a/b/"), "a");
    EXPECT_EQ(ParentDir("/x"), "/");
    EXPECT_EQ(ParentDir("file"), "");
}

#endif
