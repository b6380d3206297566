#include "platform/fileops.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/rawfile.h"

namespace tarvex {

namespace fs = std::filesystem;

namespace {

fs::path ToPath(std::string_view p) { return fs::path(std::string(p)); }

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

bool WriteWholeFile(std::string_view localPath, std::string_view data, std::string* error)
{
    std::FILE* f = std::fopen(std::string(localPath).c_str(), "wb");
    if (!f) {
        SetError(error, "Cannot create " + std::string(localPath));
        return false;
    }
    const bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) {
        SetError(error, "Cannot write " + std::string(localPath));
        return false;
    }
    return true;
}

bool RenameFile(std::string_view from, std::string_view to, std::string* error)
{
    std::error_code ec;
    fs::rename(ToPath(from), ToPath(to), ec);
    if (ec) {
        SetError(error, "Cannot rename " + std::string(from) + " to " + std::string(to) + ": " + ec.message());
        return false;
    }
    return true;
}

bool RemoveFile(std::string_view localPath, std::string* error)
{
    std::error_code ec;
    fs::remove(ToPath(localPath), ec);
    if (ec) {
        SetError(error, "Cannot delete " + std::string(localPath) + ": " + ec.message());
        return false;
    }
    return true;
}

namespace {

// A second name for the file, or a copy of it on the disk where the file system has no links.
// Windows gets the copy: there a second name shares the file's share mode, so while another
// program holds the list without delete sharing that name could be neither renamed nor removed.
bool LinkOrCopy(const std::string& from, const std::string& to, std::string& why)
{
    std::error_code ec;
#ifndef _WIN32
    fs::create_hard_link(ToPath(from), ToPath(to), ec);
    if (!ec)
        return true;
#endif
    if (!fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, ec)) {
        why = "Cannot copy " + from + " to " + to + ": " + ec.message();
        return false;
    }
    TRawFile copy;
    return copy.Open(to, false, why) && copy.Flush(why);
}

}  // namespace

bool ReplaceFileContents(std::string_view localPath, std::string_view data, std::string_view backupPath,
                         std::string* error)
{
    const std::string target(localPath);
    const std::string temp = target + ".$$$";
    std::string why;
    // The new bytes, complete and on the disk, under a name of their own first.
    TRawFile file;
    const bool written = file.Open(temp, true, why) && file.WriteAt(0, data, why) && file.Flush(why);
    file.Close();
    if (!written) {
        RemoveFile(temp);
        SetError(error, why);
        return false;
    }
    if (!backupPath.empty()) {
        // The old file becomes the backup without ever leaving its own name: a second name for
        // it takes the earlier backup's place in one rename, so a crash at any moment leaves
        // the file and a backup.
        const std::string backup(backupPath);
        const std::string backupTemp = backup + ".$$$";
        RemoveFile(backupTemp);
        const bool backedUp = LinkOrCopy(target, backupTemp, why) && RenameDurably(backupTemp, backup, why);
        // A rename onto another name of the same file does nothing, so the temporary name may remain.
        RemoveFile(backupTemp);
        if (!backedUp) {
            RemoveFile(temp);
            SetError(error, why);
            return false;
        }
    }
    if (!RenameDurably(temp, target, why)) {
        RemoveFile(temp);
        SetError(error, why);
        return false;
    }
    SyncFolderOf(target, why);
    return true;
}

}  // namespace tarvex
