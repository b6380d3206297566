// A followed log file under a mailer that appends, cuts, rotates and removes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/datetime.h"
#include "platform/followedfile.h"
#include "testdir.h"
#include "teststyle.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace tarvex;
using tarvex::testing::TTestDir;

namespace {

// The mailer's own handle on its log, writing on while the log is renamed away. On Windows a
// file open elsewhere is renamed only when every holder shares it for deletion, so a mailer
// whose log is rotated under it opens it that way (and the follower, holding it too, does).
class TMailerHandle
{
public:
    explicit TMailerHandle(const std::string& path)
#ifdef _WIN32
        : H(CreateFileW(std::filesystem::path(path).wstring().c_str(), FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~TMailerHandle() { CloseHandle(H); }
    void Append(const std::string& bytes)
    {
        DWORD n = 0;
        EXPECT_TRUE(WriteFile(H, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr));
    }

private:
    HANDLE H;
#else
        : Out(path, std::ios::binary | std::ios::app)
    {
    }
    void Append(const std::string& bytes) { Out << bytes << std::flush; }

private:
    std::ofstream Out;
#endif
};

// Wine keeps a removed file's name, and shows no pending deletion, until the last handle to it
// is closed; Windows takes the name at once or refuses opens of it meanwhile.
bool RunsUnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

class FollowedFile : public ::testing::Test
{
protected:
    FollowedFile() : Dir("followed"), Path((Dir.Path / "t-mail.log").string()) {}

    void SetUp() override
    {
        Write("01/06 10:00:00 first\n", std::ios::trunc);
        std::string error;
        ASSERT_TRUE(F.Open(Path, error)) << error;
        EXPECT_EQ(Poll(), TFollowChange::Appended);
        EXPECT_EQ(Got, "01/06 10:00:00 first\n");
    }

    void Write(const std::string& bytes, std::ios::openmode mode = std::ios::app, const std::string& path = {})
    {
        std::ofstream out(path.empty() ? Path : path, std::ios::binary | mode);
        out << bytes;
    }

    TFollowChange Poll(std::size_t limit = TFollowedFile::kNoLimit)
    {
        std::string error;
        const TFollowChange c = F.Poll(Got, error, limit);
        EXPECT_NE(c, TFollowChange::Failed) << error;
        return c;
    }

    TTestDir Dir;
    std::string Path;
    TFollowedFile F;
    std::string Got;
};

}  // namespace

// Only new bytes come, a part of a line included, and nothing when nothing changed; NUL bytes
// are bytes like any other until something overwrites them, which is a rewrite.
TEST_F(FollowedFile, AppendedBytesComeOnceAndAsTheyAre)
{
    EXPECT_EQ(Poll(), TFollowChange::Nothing);
    Write("01/06 10:00:01 sec");
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "01/06 10:00:01 sec");
    Write("ond\n");
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "ond\n");
    EXPECT_EQ(Poll(), TFollowChange::Nothing);
    EXPECT_TRUE(Got.empty());

    Write(std::string(3, '\0'));
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, std::string(3, '\0'));
    EXPECT_EQ(F.Offset(), 46u);
    {
        // A file system that showed zeros where the mailer's bytes were still to come.
        std::fstream out(Path, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(43);
        out << "ab\nc";
    }
    EXPECT_EQ(Poll(), TFollowChange::Rewritten);
    EXPECT_EQ(Got.substr(40), "nd\nab\nc");
}

TEST_F(FollowedFile, CutShortOrWrittenAnewStartsOver)
{
    std::filesystem::resize_file(Path, 0);
    EXPECT_EQ(Poll(), TFollowChange::Rewritten);
    EXPECT_TRUE(Got.empty());
    EXPECT_EQ(F.Offset(), 0u);
    Write("01/06 11:00:00 again\n");
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "01/06 11:00:00 again\n");

    // Cut and grown past the old size between two looks: the first block tells.
    Write("02/06 09:00:00 a new log, longer than the old one\n", std::ios::trunc);
    EXPECT_EQ(Poll(), TFollowChange::Rewritten);
    EXPECT_EQ(Got, "02/06 09:00:00 a new log, longer than the old one\n");

    // The same first block but other bytes where the reading stopped: the last block tells.
    const std::string head(5000, 'h');
    Write(head + "\nxyz\n", std::ios::trunc);
    EXPECT_EQ(Poll(), TFollowChange::Rewritten);
    Write(head + "\nXYZ\nmore\n", std::ios::trunc);
    EXPECT_EQ(Poll(), TFollowChange::Rewritten);
    EXPECT_EQ(Got, head + "\nXYZ\nmore\n");
}

// Renamed away and made again: the old file's last lines first, then the new file from its
// start, then what is appended to the new one; a writer that goes on with the old file is not
// followed there.
TEST_F(FollowedFile, RotationReadsTheOldFilesLastBytesThenTheNewFile)
{
    TMailerHandle old(Path);
    std::filesystem::rename(Path, Path + ".1");
    old.Append("01/06 10:00:02 last words\n");
    Write("01/06 10:00:03 new file\n");
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "01/06 10:00:02 last words\n");
    old.Append("01/06 10:00:04 too late\n");
    EXPECT_EQ(Poll(), TFollowChange::Rotated);
    EXPECT_EQ(Got, "01/06 10:00:03 new file\n");
    Write("01/06 10:00:05 next\n");
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "01/06 10:00:05 next\n");
}

TEST_F(FollowedFile, RemovalEndsTheFollowing)
{
    Write("01/06 10:00:02 bye\n");
    std::filesystem::remove(Path);
    EXPECT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_EQ(Got, "01/06 10:00:02 bye\n");
    if (RunsUnderWine()) {
        // Letting go of it is what completes the removal there.
        EXPECT_EQ(Poll(), TFollowChange::Nothing);
        F.Close();
        EXPECT_FALSE(std::filesystem::exists(Path));
        GTEST_SKIP() << "Wine shows a removed file as there until the last handle to it is closed";
    }
    EXPECT_EQ(Poll(), TFollowChange::Removed);
    EXPECT_FALSE(F.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(Path));  // nothing of ours holds the name back
    std::string error;
    EXPECT_EQ(F.Poll(Got, error), TFollowChange::Failed);
}

// A line of megabytes written in pieces while it is followed and analysed: the pass holds it
// until its end comes, then reads it as one line; a limited poll leaves the rest for the next.
TEST_F(FollowedFile, ALineOfMegabytesGrowsUntilItsEnd)
{
    SetProgramStartDate(EncodeDate(2026, 6, 1));
    tarvex::testing::TTestStyle log;
    TScriptedUserInterface ui;
    ASSERT_TRUE(log.BeginPass(ui));
    ASSERT_TRUE(log.FeedPass(ui, Got));
    const std::string piece(256 * 1024, 'x');
    Write("01/06 10:00:01 ");
    for (int i = 0; i < 24; ++i) {
        Write(piece);
        ASSERT_EQ(Poll(), TFollowChange::Appended);
        ASSERT_TRUE(log.FeedPass(ui, Got));
    }
    EXPECT_EQ(log.LinesRead, 1);
    EXPECT_EQ(log.HeldBytes(), 15 + 24 * piece.size());
    Write("\n01/06 10:00:02 after\n");
    ASSERT_EQ(Poll(5), TFollowChange::Appended);
    EXPECT_TRUE(F.Behind());
    ASSERT_TRUE(log.FeedPass(ui, Got));
    EXPECT_EQ(log.LinesRead, 2);
    ASSERT_EQ(Poll(), TFollowChange::Appended);
    EXPECT_FALSE(F.Behind());
    ASSERT_TRUE(log.FeedPass(ui, Got));
    EXPECT_EQ(log.LinesRead, 3);
    EXPECT_EQ(log.HeldBytes(), 0u);
}

// A window that shows the text already follows on from its end: what comes after it is
// appended, a file that no longer starts with it (within a block of its start or its end) was
// rewritten meanwhile.
TEST_F(FollowedFile, FollowingOnFromKnownBytes)
{
    std::string error;
    const std::string head(6000, 'k');
    Write(head + "\ntail\nmore\n", std::ios::trunc);
    TFollowedFile on;
    ASSERT_TRUE(on.Open(Path, head + "\ntail\n", error)) << error;
    EXPECT_EQ(on.Offset(), head.size() + 6);
    EXPECT_EQ(on.Poll(Got, error), TFollowChange::Appended);
    EXPECT_EQ(Got, "more\n");
    EXPECT_EQ(on.Poll(Got, error), TFollowChange::Nothing);

    ASSERT_TRUE(on.Open(Path, head + "\ntail\nmore\n", error));
    EXPECT_EQ(on.Poll(Got, error), TFollowChange::Nothing);
    ASSERT_TRUE(on.Open(Path, "kkk", error));
    EXPECT_EQ(on.Poll(Got, error), TFollowChange::Appended);
    EXPECT_EQ(Got.size(), head.size() + 8);

    for (const std::string& known : {head + "\nTAIL\n", "x" + head.substr(1) + "\ntail\n", head + "\ntail\nmore\nand more\n"}) {
        ASSERT_TRUE(on.Open(Path, known, error));
        EXPECT_EQ(on.Poll(Got, error), TFollowChange::Rewritten) << known.substr(known.size() - 10);
        EXPECT_EQ(Got, head + "\ntail\nmore\n");
    }
}
