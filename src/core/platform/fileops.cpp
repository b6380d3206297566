#include "platform/fileops.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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

bool ReplaceFileContents(std::string_view localPath, std::string_view data, std::string_view backupPath,
                         std::string* error)
{
    const std::string target(localPath);
    const std::string temp = target + ".$$$";
    if (!WriteWholeFile(temp, data, error)) {
        RemoveFile(temp);
        return false;
    }
    if (backupPath.empty())
        return RenameFile(temp, target, error) || (RemoveFile(temp), false);

    const std::string backup(backupPath);
    std::error_code ec;
    if (fs::exists(ToPath(backup), ec))
        RemoveFile(backup);
    if (!RenameFile(target, backup, error)) {
        RemoveFile(temp);
        return false;
    }
    if (!RenameFile(temp, target, error)) {
        // Put the old list back where it was.
        RenameFile(backup, target);
        RemoveFile(temp);
        return false;
    }
    return true;
}

}  // namespace tarvex
