#include "platform/rawfile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvex {

#ifdef _WIN32

namespace {
HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }
std::string Why(const std::string& what, const std::string& path)
{
    return what + " " + path + ": error " + std::to_string(GetLastError());
}
}  // namespace

bool TRawFile::Open(const std::string& path, bool create, std::string& error)
{
    Close();
    const std::wstring wide = std::filesystem::path(path).wstring();
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = Why("Cannot open", path);
        return false;
    }
    H = h;
    Path = path;
    return true;
}

void TRawFile::Close()
{
    if (H)
        CloseHandle(Handle(H));
    H = nullptr;
}

bool TRawFile::ReadFrom(std::uint64_t offset, std::string& out, std::string& error)
{
    char buf[65536];
    for (;;) {
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        if (!ReadFile(Handle(H), buf, sizeof buf, &n, &ov)) {
            if (GetLastError() != ERROR_HANDLE_EOF) {
                error = Why("Cannot read", Path);
                return false;
            }
            n = 0;
        }
        if (n == 0)
            return true;
        out.append(buf, n);
        offset += n;
    }
}

bool TRawFile::WriteAt(std::uint64_t offset, std::string_view data, std::string& error)
{
    while (!data.empty()) {
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        const DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
        if (!WriteFile(Handle(H), data.data(), chunk, &n, &ov) || n == 0) {
            error = Why("Cannot write", Path);
            return false;
        }
        data.remove_prefix(n);
        offset += n;
    }
    return true;
}

bool TRawFile::Truncate(std::uint64_t size, std::string& error)
{
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(Handle(H), li, nullptr, FILE_BEGIN) || !SetEndOfFile(Handle(H))) {
        error = Why("Cannot truncate", Path);
        return false;
    }
    return true;
}

bool TRawFile::Size(std::uint64_t& size, std::string& error)
{
    LARGE_INTEGER li;
    if (!GetFileSizeEx(Handle(H), &li)) {
        error = Why("Cannot read the size of", Path);
        return false;
    }
    size = static_cast<std::uint64_t>(li.QuadPart);
    return true;
}

bool TRawFile::Flush(std::string& error)
{
    if (!FlushFileBuffers(Handle(H))) {
        error = Why("Cannot flush", Path);
        return false;
    }
    return true;
}

bool RenameDurably(const std::string& from, const std::string& to, std::string& error)
{
    const std::wstring f = std::filesystem::path(from).wstring();
    const std::wstring t = std::filesystem::path(to).wstring();
    if (!MoveFileExW(f.c_str(), t.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = Why("Cannot rename " + from + " to", to);
        return false;
    }
    return true;
}

bool SyncFolderOf(const std::string&, std::string&) { return true; }

#else

namespace {
std::string Why(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}
}  // namespace

bool TRawFile::Open(const std::string& path, bool create, std::string& error)
{
    Close();
    Fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_TRUNC : 0), 0644);
    if (Fd < 0) {
        error = Why("Cannot open", path);
        return false;
    }
    Path = path;
    return true;
}

void TRawFile::Close()
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

bool TRawFile::ReadFrom(std::uint64_t offset, std::string& out, std::string& error)
{
    char buf[65536];
    for (;;) {
        const ssize_t n = ::pread(Fd, buf, sizeof buf, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Why("Cannot read", Path);
            return false;
        }
        if (n == 0)
            return true;
        out.append(buf, static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
}

bool TRawFile::WriteAt(std::uint64_t offset, std::string_view data, std::string& error)
{
    while (!data.empty()) {
        const ssize_t n = ::pwrite(Fd, data.data(), data.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? Why("Cannot write", Path) : "Cannot write " + Path;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool TRawFile::Truncate(std::uint64_t size, std::string& error)
{
    if (::ftruncate(Fd, static_cast<off_t>(size)) != 0) {
        error = Why("Cannot truncate", Path);
        return false;
    }
    return true;
}

bool TRawFile::Size(std::uint64_t& size, std::string& error)
{
    struct stat st {};
    if (::fstat(Fd, &st) != 0) {
        error = Why("Cannot read the size of", Path);
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool TRawFile::Flush(std::string& error)
{
    if (::fsync(Fd) != 0) {
        error = Why("Cannot flush", Path);
        return false;
    }
    return true;
}

bool RenameDurably(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = Why("Cannot rename " + from + " to", to);
        return false;
    }
    return true;
}

bool SyncFolderOf(const std::string& path, std::string& error)
{
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = Why("Cannot open the folder", folder);
        return false;
    }
    // Some file systems cannot sync a folder at all (EINVAL); their names are as safe as they get.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (!ok)
        error = Why("Cannot flush the folder", folder);
    ::close(fd);
    return ok;
}

#endif

}  // namespace tarvex
