// What only Windows does with mailer files: DOS paths are the machine's own, a mailer holds its
// log open with its own share mode while we cut it, and a file another program holds open is
// not always ours to replace. Built everywhere, run by the Windows build (tools/windows-check.sh).
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "platform/fileops.h"
#include "platform/filecut.h"
#include "platform/paths.h"
#include "platform/sharedfile.h"
#include "testdir.h"
#include "tmail/tmailfiles.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
namespace fs = std::filesystem;

namespace {

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string ReadAll(const fs::path& p)
{
    std::string s;
    return ReadWholeFile(p.string(), s) ? s : std::string("<missing>");
}

// A file held open by another program, the way a mailer or a BBS opens it.
class TOtherProgram
{
public:
    TOtherProgram(const fs::path& p, DWORD access, DWORD share)
        : H(CreateFileW(p.wstring().c_str(), access, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~TOtherProgram()
    {
        if (H != INVALID_HANDLE_VALUE)
            CloseHandle(H);
    }
    TOtherProgram(const TOtherProgram&) = delete;
    TOtherProgram& operator=(const TOtherProgram&) = delete;
    bool IsOpen() const { return H != INVALID_HANDLE_VALUE; }
    bool Append(const std::string& text)
    {
        DWORD n = 0;
        return WriteFile(H, text.data(), static_cast<DWORD>(text.size()), &n, nullptr) && n == text.size();
    }

private:
    HANDLE H;
};

class WindowsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        ClearDriveMap();
        SetDriveGuessBase("");
    }

    tarvex::testing::TTestDir Scratch{"windows"};
    const fs::path& Dir = Scratch.Path;
};

}  // namespace

TEST_F(WindowsTest, DosPathsAreTheMachinesOwnWhateverTheDriveMapSays)
{
    WriteFileBytes((Dir / "Sys" / "T-MAIL.S01").string(), "x");
    // A mailer folder named with its drive letter, in other case than on the disk.
    const std::string mailer = Upper(Dir.string());
    ASSERT_EQ(mailer.substr(1, 2), ":\\");
    SetDriveMap({{mailer[0], "D:\\elsewhere"}});
    SetDriveGuessBase(Dir.string());
    EXPECT_EQ(ResolvePath(mailer + "\\SYS\\T-MAIL.S01"), mailer + "\\SYS\\T-MAIL.S01");
    EXPECT_FALSE(DriveGuess(mailer[0]));
    EXPECT_TRUE(FileExists(ResolvePath(mailer + "\\sys\\t-mail.s01")));
    EXPECT_EQ(FindFileInDirs("t-mail.s01", {mailer + "\\NONE\\", mailer + "\\SYS\\"}), mailer + "\\SYS\\t-mail.s01");

    // T-Mail's system folder as the configuration names it, drive letter and all.
    WriteFileBytes((Dir / "t-mail.ctl").string(), "Sys_Path " + mailer + "\\SYS\\\r\n");
    const std::string sys = ReadSysPath(mailer);
    EXPECT_EQ(sys, mailer + "\\SYS");
    EXPECT_EQ(ReadAll(SysFilePath(sys, TrafficFileName(1))), "x");
}

TEST_F(WindowsTest, ALogIsCutWhileTheMailerHoldsItOpenAndAppends)
{
    const fs::path log = Dir / "t-mail.log";
    WriteFileBytes(log.string(), "old 1\r\nold 2\r\nkept 1\r\n");
    // Mailers open their log to append and let others read and write it, but not delete it.
    TOtherProgram mailer(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(mailer.IsOpen());
    ASSERT_TRUE(mailer.Append("kept 2\r\n"));

    SharedReadFile reader;
    std::string err;
    ASSERT_TRUE(reader.Open(log.string(), err)) << err;
    EXPECT_EQ(reader.Size(), 30);
    reader.Close();

    TFileCutInfo info;
    ASSERT_EQ(CutFileHead(log.string(), 14, "kept 1\r\n", &err, &info), TFileCutResult::Cut) << err;
    EXPECT_EQ(info.AppendedBytes, 8u);
    EXPECT_FALSE(fs::exists(CutCopyPath(log.string())));
    // The mailer's next line goes to the end of the cut file, not to its old end.
    ASSERT_TRUE(mailer.Append("new 1\r\n"));
    EXPECT_EQ(ReadAll(log), "kept 1\r\nkept 2\r\nnew 1\r\n");
}

TEST_F(WindowsTest, ALogTheMailerWillNotShareForWritingIsLeftAsItWas)
{
    const fs::path log = Dir / "t-mail.log";
    const std::string text = "old 1\r\nkept 1\r\n";
    WriteFileBytes(log.string(), text);
    TOtherProgram mailer(log, GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_TRUE(mailer.IsOpen());

    SharedReadFile reader;  // reading it is still allowed
    std::string err;
    ASSERT_TRUE(reader.Open(log.string(), err)) << err;
    reader.Close();
    EXPECT_EQ(CutFileHead(log.string(), 7, "kept 1\r\n", &err), TFileCutResult::Failed);
    EXPECT_NE(err.find("Cannot open"), std::string::npos) << err;
    EXPECT_EQ(ReadAll(log), text);
    EXPECT_FALSE(fs::exists(CutCopyPath(log.string())));
    EXPECT_FALSE(fs::exists(CutCopyTempPath(log.string())));
}

TEST_F(WindowsTest, AListAnotherProgramHoldsOpenIsLeftAsItWasWithNothingBesideIt)
{
    const fs::path list = Dir / "files.bbs";
    const fs::path backup = Dir / "filesbbs.bak";
    WriteFileBytes(list.string(), "OLD [001]\r\n");
    std::string err;
    {
        // A BBS reading the list: Windows renames nothing over it, nor any other name of it.
        TOtherProgram bbs(list, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(bbs.IsOpen());
        EXPECT_FALSE(ReplaceFileContents(list.string(), "NEW [002]\r\n", backup.string(), &err));
        EXPECT_NE(err.find("Cannot rename"), std::string::npos) << err;
        EXPECT_EQ(ReadAll(list), "OLD [001]\r\n");
        EXPECT_FALSE(fs::exists(list.string() + ".$$$"));
        EXPECT_FALSE(fs::exists(backup.string() + ".$$$"));
    }
    EXPECT_TRUE(ReplaceFileContents(list.string(), "NEW [002]\r\n", backup.string(), &err)) << err;
    EXPECT_EQ(ReadAll(list), "NEW [002]\r\n");
    EXPECT_EQ(ReadAll(backup), "OLD [001]\r\n");
}

#endif  // _WIN32
