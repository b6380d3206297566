#include "platform/filecut.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/rawfile.h"

namespace tarvex {

namespace {

std::function<bool(TCutStep)>& FaultHook()
{
    static std::function<bool(TCutStep)> hook;
    return hook;
}

bool Injected(TCutStep step, std::string& why)
{
    if (FaultHook() && FaultHook()(step)) {
        why = "Injected fault";
        return true;
    }
    return false;
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path), ec);
}

void Remove(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(path), ec);
}

TFileCutResult Fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return TFileCutResult::Failed;
}

// Writes the copy of the kept part so that CutCopyPath appears only complete and on the disk.
// On failure nothing is left under either name.
bool WriteCopy(const std::string& temp, const std::string& copy, TRawFile& log, std::uint64_t dropBytes,
               std::string& kept, std::string& why)
{
    TRawFile file;
    bool ok = file.Open(temp, true, why) && !Injected(TCutStep::CopyWrite, why) && file.WriteAt(0, kept, why);
    // Take in what the mailer appended meanwhile, so the copy is as fresh as it can be.
    std::string more;
    ok = ok && log.ReadFrom(dropBytes + kept.size(), more, why) && file.WriteAt(kept.size(), more, why);
    ok = ok && !Injected(TCutStep::CopyFlush, why) && file.Flush(why);
    file.Close();
    ok = ok && !Injected(TCutStep::CopyRename, why) && RenameDurably(temp, copy, why);
    if (!ok) {
        Remove(temp);
        return false;
    }
    // Until the new name is on the disk the file must not be touched; a copy that may vanish
    // with a power cut is no copy, so it goes and the file stays as it was.
    if (Injected(TCutStep::FolderSync, why) || !SyncFolderOf(copy, why)) {
        Remove(copy);
        return false;
    }
    kept += more;
    return true;
}

}  // namespace

std::string CutCopyPath(std::string_view localPath) { return std::string(localPath) + ".cut"; }
std::string CutCopyTempPath(std::string_view localPath) { return std::string(localPath) + ".cut.$$$"; }

bool UnfinishedCut(std::string_view localPath, std::string* error)
{
    const std::string path(localPath);
    const std::string copyPath = CutCopyPath(localPath);
    if (!Exists(copyPath))
        return false;
    if (error)
        *error = "An earlier cut of " + path + " did not finish; its kept lines are in " + copyPath +
                 ". Compare the two files, keep the right one as " + path + " and remove " + copyPath +
                 "; the log is not cut until then.";
    return true;
}

void SetCutFaultHook(std::function<bool(TCutStep)> hook) { FaultHook() = std::move(hook); }

TFileCutResult CutFileHead(std::string_view localPath, std::uint64_t dropBytes, std::string_view seenKept,
                           std::string* error, TFileCutInfo* info)
{
    if (dropBytes == 0)
        return TFileCutResult::Unchanged;
    const std::string path(localPath);
    const std::string copyPath = CutCopyPath(localPath);
    const std::string tempPath = CutCopyTempPath(localPath);
    if (UnfinishedCut(localPath, error))
        return TFileCutResult::Unchanged;
    // A copy that never got its final name belongs to a cut that stopped before the file was
    // touched: the file is whole, the copy is worth nothing.
    Remove(tempPath);

    std::string why;
    TRawFile log;
    if (!log.Open(path, false, why))
        return Fail(error, why);
    std::string kept;
    if (!log.ReadFrom(dropBytes, kept, why))
        return Fail(error, why);
    // A file that was cut or rewritten since the caller read it is left alone.
    if (kept.size() < seenKept.size() || std::string_view(kept).substr(0, seenKept.size()) != seenKept) {
        if (error)
            *error = path + " changed while it was being cut; it was left as it is.";
        return TFileCutResult::Unchanged;
    }
    if (!WriteCopy(tempPath, copyPath, log, dropBytes, kept, why))
        return Fail(error, why);

    // From here on a crash leaves every kept byte in the copy. Overwriting [0, kept) never
    // reaches bytes at or after dropBytes + kept, where appended bytes land, so they can still
    // be read and moved down after the kept part.
    const std::string keep = " (the kept lines are in " + copyPath + ")";
    if (Injected(TCutStep::LogWrite, why) || !log.WriteAt(0, kept, why))
        return Fail(error, why + keep);
    // Bytes the mailer appends between the last look at the size and the truncation are lost:
    // no system call truncates only if the file has not grown. The size is looked at right
    // before truncating, so that window is as short as it can be made.
    for (int round = 0; round < 64; ++round) {
        std::string more;
        if (Injected(TCutStep::LogCatchUp, why) || !log.ReadFrom(dropBytes + kept.size(), more, why) ||
            !log.WriteAt(kept.size(), more, why))
            return Fail(error, why + keep);
        kept += more;
        std::uint64_t size = 0;
        if (more.empty() && log.Size(size, why) && size <= dropBytes + kept.size())
            break;
    }
    if (Injected(TCutStep::LogTruncate, why) || !log.Truncate(kept.size(), why))
        return Fail(error, why + keep);
    // The copy may go only once the rewritten file is on the disk.
    if (Injected(TCutStep::LogFlush, why) || !log.Flush(why))
        return Fail(error, why + keep);
    log.Close();

    const auto fillInfo = [&] {
        if (!info)
            return;
        info->KeptBytes = kept.size();
        info->KeptLines = static_cast<std::uint64_t>(std::count(kept.begin(), kept.end(), '\n')) +
                          (!kept.empty() && kept.back() != '\n' ? 1u : 0u);
        info->AppendedBytes = kept.size() - seenKept.size();
    };
    std::error_code ec;
    if (Injected(TCutStep::CopyRemove, why) || !std::filesystem::remove(std::filesystem::path(copyPath), ec)) {
        // The file is cut all the same; the copy only stops the next cut until it is removed.
        if (error)
            *error = "The log " + path + " was cut, but " + copyPath + " could not be removed" +
                     (ec ? ": " + ec.message() : std::string()) + ". Remove it; the log is not cut until then.";
        fillInfo();
        return TFileCutResult::Cut;
    }
    std::string ignored;
    SyncFolderOf(copyPath, ignored);
    fillInfo();
    return TFileCutResult::Cut;
}

}  // namespace tarvex
