// Replacing a file with a backup: at every step there is the file (old or new bytes) and a
// backup; a failed step leaves both as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/fileops.h"
#include "testdir.h"

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

}  // namespace

TEST(ReplaceFileContents, OldFileBecomesTheBackup_NoTemporaryNamesRemain)
{
    tarvex::testing::TTestDir dir("fileops");
    const fs::path list = dir.Path / "files.bbs";
    const fs::path bak = dir.Path / "filesbbs.bak";
    Write(list, "old list\r\n");
    Write(bak, "earlier backup\r\n");
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(list.string(), "new list\r\n", bak.string(), &error)) << error;
    EXPECT_EQ(Read(list), "new list\r\n");
    EXPECT_EQ(Read(bak), "old list\r\n");
    // The backup is the old file itself, not a second name of the new one.
    Write(list, "changed in place\r\n");
    EXPECT_EQ(Read(bak), "old list\r\n");
    for (const auto& e : fs::directory_iterator(dir.Path))
        EXPECT_EQ(e.path().string().find("$$$"), std::string::npos) << e.path();
}

TEST(ReplaceFileContents, BackupLeftAsASecondNameByAnInterruptedRunIsReplaced)
{
    tarvex::testing::TTestDir dir("fileops");
    const fs::path list = dir.Path / "files.bbs";
    const fs::path bak = dir.Path / "filesbbs.bak";
    Write(list, "list\r\n");
    // An update stopped after the backup got its name: both names are one file.
    fs::create_hard_link(list, bak.string() + ".$$$");
    fs::create_hard_link(list, bak);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(list.string(), "list, raised\r\n", bak.string(), &error)) << error;
    EXPECT_EQ(Read(list), "list, raised\r\n");
    EXPECT_EQ(Read(bak), "list\r\n");
    EXPECT_FALSE(fs::exists(bak.string() + ".$$$"));
}

TEST(ReplaceFileContents, BackupThatCannotBeMadeLeavesFileAndEarlierBackup)
{
    tarvex::testing::TTestDir dir("fileops");
    const fs::path list = dir.Path / "files.bbs";
    const fs::path bak = dir.Path / "filesbbs.bak";
    Write(list, "old list\r\n");
    Write(bak, "earlier backup\r\n");
    fs::create_directories(dir.Path / "filesbbs.bak.$$$" / "in the way");
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(list.string(), "new list\r\n", bak.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(list), "old list\r\n");
    EXPECT_EQ(Read(bak), "earlier backup\r\n");
    EXPECT_FALSE(fs::exists(list.string() + ".$$$"));
}

TEST(ReplaceFileContents, MissingFileWithBackupChangesNothing)
{
    tarvex::testing::TTestDir dir("fileops");
    const fs::path list = dir.Path / "files.bbs";
    const fs::path bak = dir.Path / "filesbbs.bak";
    Write(bak, "earlier backup\r\n");
    EXPECT_FALSE(ReplaceFileContents(list.string(), "new\r\n", bak.string()));
    EXPECT_FALSE(fs::exists(list));
    EXPECT_FALSE(fs::exists(list.string() + ".$$$"));
    EXPECT_EQ(Read(bak), "earlier backup\r\n");
}
