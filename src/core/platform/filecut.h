#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

enum class TFileCutResult {
    Cut,        // the file now starts with what was kept
    Unchanged,  // nothing was done: nothing to drop, or the file is not what the caller read
    Failed,     // an error stopped the cut; the kept part is safe in the ".cut" copy if one remains
};

// The copy of the kept part that lives beside the file while it is rewritten.
std::string CutCopyPath(std::string_view localPath);

// Drops the first dropBytes bytes of a log file that a mailer may be appending to.
//
// The file is rewritten in place (never replaced), so a mailer holding it open keeps writing to
// the same file. seenKept is what the caller read of the file from dropBytes on; the cut is made
// only when the file still holds exactly those bytes there, and any bytes appended after them
// up to the moment of truncation are kept as well. Before the first byte of the file is
// overwritten, the kept part is written and flushed to CutCopyPath(localPath); that copy is
// removed once the rewrite is complete, so a crash midway loses nothing. A copy left by an
// earlier cut that did not finish stops the cut (Unchanged, with the reason in *error).
TFileCutResult CutFileHead(std::string_view localPath, std::uint64_t dropBytes, std::string_view seenKept,
                           std::string* error = nullptr);

}  // namespace tarvex
