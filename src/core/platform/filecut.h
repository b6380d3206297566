#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarvex {

enum class TFileCutResult {
    Cut,        // the file now starts with what was kept
    Unchanged,  // nothing was done: nothing to drop, or the file is not what the caller read
    Failed,     // an error stopped the cut; the kept part is safe in the ".cut" copy if one remains
};

// What a finished cut kept: the kept part the caller read plus what the mailer appended
// while the cut ran.
struct TFileCutInfo
{
    std::uint64_t KeptBytes = 0;
    std::uint64_t KeptLines = 0;  // counted as the viewer counts them
    std::uint64_t AppendedBytes = 0;
};

// The copy of the kept part that lives beside the file while it is rewritten.
std::string CutCopyPath(std::string_view localPath);
// The name the copy is written under before it is complete; renamed to CutCopyPath then.
std::string CutCopyTempPath(std::string_view localPath);
// Whether an earlier cut of the file left its copy behind; *error then says what to do.
bool UnfinishedCut(std::string_view localPath, std::string* error = nullptr);

// Drops the first dropBytes bytes of a log file that a mailer may be appending to.
//
// The file is rewritten in place (never replaced), so a mailer holding it open keeps writing to
// the same file. seenKept is what the caller read of the file from dropBytes on; the cut is made
// only when the file still holds exactly those bytes there, and any bytes appended after them
// up to the moment of truncation are kept as well.
//
// Before the first byte of the file is overwritten, the kept part is written to
// CutCopyTempPath, flushed to the disk and renamed to CutCopyPath, so that a CutCopyPath file
// exists only when it holds every kept byte. It is removed once the rewritten file is on the
// disk. A CutCopyPath left by an earlier cut that did not finish stops the cut (Unchanged, with
// what to do in *error); a leftover temporary copy means that cut never touched the file, and is
// removed.
TFileCutResult CutFileHead(std::string_view localPath, std::uint64_t dropBytes, std::string_view seenKept,
                           std::string* error = nullptr, TFileCutInfo* info = nullptr);

// The steps of a cut, in order, at which a test can make the cut fail.
enum class TCutStep {
    CopyWrite,    // writing the copy under its temporary name
    CopyFlush,
    CopyRename,   // temporary name -> CutCopyPath
    FolderSync,   // the rename reaches the disk
    LogWrite,     // the kept part goes to the start of the file
    LogCatchUp,   // what the mailer appended meanwhile moves down after it
    LogTruncate,
    LogFlush,
    CopyRemove,
};

// For tests: called before each step; answering true makes the step fail as if the system had
// refused it. An empty hook (the default) injects nothing.
void SetCutFaultHook(std::function<bool(TCutStep)> hook);

}  // namespace tarvex
