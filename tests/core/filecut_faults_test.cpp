// A cut that fails or stops at any step: the log is either untouched with no copy left, or a
// complete copy of the kept bytes is there to restore it from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/filecut.h"
#include "testdir.h"

using namespace tarvex;
namespace fs = std::filesystem;

namespace {

std::string Lines(int n)
{
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "line " + std::to_string(i) + " of the mailer log\n";
    return s;
}

std::string Read(const std::string& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void Write(const std::string& p, const std::string& s, bool append = false)
{
    std::ofstream f(p, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    f << s;
}

const char* Name(TCutStep s)
{
    static const char* const names[] = {"CopyWrite",  "CopyFlush",  "CopyRename",  "FolderSync", "LogWrite",
                                        "LogCatchUp", "LogTruncate", "LogFlush",   "CopyRemove"};
    return names[static_cast<int>(s)];
}

class FileCutFaults : public ::testing::TestWithParam<TCutStep>
{
protected:
    void TearDown() override { SetCutFaultHook({}); }
    tarvex::testing::TTestDir Dir{"filecutfaults"};
    const std::string Path = (Dir.Path / "bink.log").string();
    const std::string Text = Lines(300);
    const std::size_t Drop = Text.find("line 101 ");
};

}  // namespace

class CopyFaults : public FileCutFaults
{};

TEST_P(CopyFaults, LeaveTheLogUntouchedAndNoCopy_TheNextCutSucceeds)
{
    Write(Path, Text);
    const TCutStep failing = GetParam();
    SetCutFaultHook([failing](TCutStep s) { return s == failing; });
    std::string err;
    EXPECT_EQ(CutFileHead(Path, Drop, std::string_view(Text).substr(Drop), &err), TFileCutResult::Failed);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(Read(Path), Text);
    EXPECT_FALSE(fs::exists(CutCopyPath(Path)));
    EXPECT_FALSE(fs::exists(CutCopyTempPath(Path)));

    SetCutFaultHook({});
    err.clear();
    EXPECT_EQ(CutFileHead(Path, Drop, std::string_view(Text).substr(Drop), &err), TFileCutResult::Cut) << err;
    EXPECT_EQ(Read(Path), Text.substr(Drop));
    EXPECT_FALSE(fs::exists(CutCopyPath(Path)));
}

INSTANTIATE_TEST_SUITE_P(BeforeTheLogIsTouched, CopyFaults,
                         ::testing::Values(TCutStep::CopyWrite, TCutStep::CopyFlush, TCutStep::CopyRename,
                                           TCutStep::FolderSync),
                         [](const auto& info) { return std::string(Name(info.param)); });

class RewriteFaults : public FileCutFaults
{};

TEST_P(RewriteFaults, LeaveACopyOfExactlyTheKeptBytes_AndStopTheNextCut)
{
    Write(Path, Text);
    const TCutStep failing = GetParam();
    // The mailer writes a line while the copy is being made: it belongs to the kept bytes.
    const std::string appended = "line 301 written during the cut\n";
    SetCutFaultHook([&](TCutStep s) {
        if (s == TCutStep::CopyWrite)
            Write(Path, appended, true);
        return s == failing;
    });
    std::string err;
    const TFileCutResult r = CutFileHead(Path, Drop, std::string_view(Text).substr(Drop), &err);
    const std::string kept = Text.substr(Drop) + appended;
    EXPECT_EQ(Read(CutCopyPath(Path)), kept);
    EXPECT_FALSE(fs::exists(CutCopyTempPath(Path)));
    if (failing == TCutStep::CopyRemove) {
        // The rewrite itself is complete; only the copy is left to clear.
        EXPECT_EQ(r, TFileCutResult::Cut);
        EXPECT_EQ(Read(Path), kept);
        EXPECT_NE(err.find("could not be removed"), std::string::npos) << err;
    } else {
        EXPECT_EQ(r, TFileCutResult::Failed);
        EXPECT_NE(err.find(CutCopyPath(Path)), std::string::npos) << err;
    }

    SetCutFaultHook({});
    const std::string before = Read(Path);
    err.clear();
    EXPECT_EQ(CutFileHead(Path, 10, std::string_view(before).substr(10), &err), TFileCutResult::Unchanged);
    EXPECT_EQ(Read(Path), before);
    EXPECT_NE(err.find("Compare the two files"), std::string::npos) << err;
    EXPECT_NE(err.find("remove " + CutCopyPath(Path)), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(AfterTheCopyIsInPlace, RewriteFaults,
                         ::testing::Values(TCutStep::LogWrite, TCutStep::LogCatchUp, TCutStep::LogTruncate,
                                           TCutStep::LogFlush, TCutStep::CopyRemove),
                         [](const auto& info) { return std::string(Name(info.param)); });

TEST(FileCutLeftovers, AnUnfinishedTemporaryCopyIsRemovedSilently)
{
    tarvex::testing::TTestDir dir("filecutleft");
    const std::string path = (dir.Path / "t-mail.log").string();
    const std::string text = Lines(50);
    Write(path, text);
    Write(CutCopyTempPath(path), "half of a co");
    std::string err;
    const std::size_t drop = text.find("line 11 ");
    EXPECT_EQ(CutFileHead(path, drop, std::string_view(text).substr(drop), &err), TFileCutResult::Cut) << err;
    EXPECT_TRUE(err.empty()) << err;
    EXPECT_EQ(Read(path), text.substr(drop));
    EXPECT_FALSE(fs::exists(CutCopyTempPath(path)));
    EXPECT_FALSE(fs::exists(CutCopyPath(path)));
}

TEST(FileCutLeftovers, WhatTheMailerAppendsAfterTheCopyIsMovedDownAndCounted)
{
    tarvex::testing::TTestDir dir("filecutappend");
    const std::string path = (dir.Path / "t-mail.log").string();
    const std::string text = Lines(50);
    Write(path, text);
    const std::string late = "line 51 after the copy\nline 52 too\n";
    SetCutFaultHook([&](TCutStep s) {
        if (s == TCutStep::LogWrite)
            Write(path, late, true);
        return false;
    });
    const std::size_t drop = text.find("line 11 ");
    TFileCutInfo info;
    EXPECT_EQ(CutFileHead(path, drop, std::string_view(text).substr(drop), nullptr, &info), TFileCutResult::Cut);
    SetCutFaultHook({});
    EXPECT_EQ(Read(path), text.substr(drop) + late);
    EXPECT_EQ(info.KeptBytes, text.size() - drop + late.size());
    EXPECT_EQ(info.AppendedBytes, late.size());
    EXPECT_EQ(info.KeptLines, 40u + 2u);
}
