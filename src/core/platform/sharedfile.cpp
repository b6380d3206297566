#include "platform/sharedfile.h"

#include <cerrno>
#include <system_error>

#include "platform/oserror.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvex {

namespace {

using namespace platform;

#ifdef _WIN32
constexpr DWORD MaxIo = 1u << 30;
#else
constexpr std::size_t MaxIo = std::size_t{1} << 30;
#endif

}  // namespace

SharedReadFile::~SharedReadFile()
{
    Close();
}

#ifdef _WIN32

bool SharedReadFile::Open(const std::string& path, std::string& error)
{
    Close();
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastErrorText("Cannot open " + path);
        return false;
    }
    Handle = h;
    return true;
}

void SharedReadFile::Close()
{
    if (Handle) {
        CloseHandle(static_cast<HANDLE>(Handle));
        Handle = nullptr;
    }
}

bool SharedReadFile::IsOpen() const
{
    return Handle != nullptr;
}

std::int64_t SharedReadFile::Size() const
{
    LARGE_INTEGER size;
    if (!Handle || !GetFileSizeEx(static_cast<HANDLE>(Handle), &size))
        return -1;
    return static_cast<std::int64_t>(size.QuadPart);
}

std::int64_t SharedReadFile::Read(char* dst, std::size_t n, std::string& error)
{
    if (!Handle) {
        error = "The file is not open";
        return -1;
    }
    DWORD got = 0;
    const DWORD ask = n > MaxIo ? MaxIo : static_cast<DWORD>(n);
    if (!ReadFile(static_cast<HANDLE>(Handle), dst, ask, &got, nullptr)) {
        error = LastErrorText("Read error");
        return -1;
    }
    return static_cast<std::int64_t>(got);
}

std::int64_t SharedReadFile::ReadAt(std::uint64_t offset, char* dst, std::size_t n, std::string& error)
{
    if (!Handle) {
        error = "The file is not open";
        return -1;
    }
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD ask = n > MaxIo ? MaxIo : static_cast<DWORD>(n);
    if (!ReadFile(static_cast<HANDLE>(Handle), dst, ask, &got, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        error = LastErrorText("Read error");
        return -1;
    }
    return static_cast<std::int64_t>(got);
}

bool RewriteFileBytes(const std::string& path, std::string_view bytes, std::string& error)
{
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastErrorText("Cannot open " + path + " for writing");
        return false;
    }
    bool ok = SetFilePointer(h, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && SetEndOfFile(h);
    if (!ok)
        error = LastErrorText("Cannot truncate " + path);
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const std::size_t rest = bytes.size() - done;
        const DWORD ask = rest > MaxIo ? MaxIo : static_cast<DWORD>(rest);
        DWORD wrote = 0;
        if (!WriteFile(h, bytes.data() + done, ask, &wrote, nullptr) || wrote == 0) {
            error = LastErrorText("Cannot write " + path);
            ok = false;
            break;
        }
        done += wrote;
    }
    if (!CloseHandle(h) && ok) {
        error = LastErrorText("Cannot close " + path);
        ok = false;
    }
    return ok;
}

#else

bool SharedReadFile::Open(const std::string& path, std::string& error)
{
    Close();
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = ErrnoText("Cannot open " + path, errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = ErrnoText("Cannot open " + path, EISDIR);
        return false;
    }
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    Fd = fd;
    return true;
}

void SharedReadFile::Close()
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
}

bool SharedReadFile::IsOpen() const
{
    return Fd >= 0;
}

std::int64_t SharedReadFile::Size() const
{
    struct stat st;
    if (Fd < 0 || ::fstat(Fd, &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t SharedReadFile::Read(char* dst, std::size_t n, std::string& error)
{
    if (Fd < 0) {
        error = "The file is not open";
        return -1;
    }
    for (;;) {
        const ssize_t got = ::read(Fd, dst, n > MaxIo ? MaxIo : n);
        if (got >= 0)
            return static_cast<std::int64_t>(got);
        if (errno != EINTR) {
            error = ErrnoText("Read error", errno);
            return -1;
        }
    }
}

std::int64_t SharedReadFile::ReadAt(std::uint64_t offset, char* dst, std::size_t n, std::string& error)
{
    if (Fd < 0) {
        error = "The file is not open";
        return -1;
    }
    for (;;) {
        const ssize_t got = ::pread(Fd, dst, n > MaxIo ? MaxIo : n, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<std::int64_t>(got);
        if (errno != EINTR) {
            error = ErrnoText("Read error", errno);
            return -1;
        }
    }
}

bool RewriteFileBytes(const std::string& path, std::string_view bytes, std::string& error)
{
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = ErrnoText("Cannot open " + path + " for writing", errno);
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t rest = bytes.size() - done;
        const ssize_t wrote = ::write(fd, bytes.data() + done, rest > MaxIo ? MaxIo : rest);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            error = ErrnoText("Cannot write " + path, wrote < 0 ? errno : ENOSPC);
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (::close(fd) != 0 && ok) {
        error = ErrnoText("Cannot close " + path, errno);
        ok = false;
    }
    return ok;
}

#endif

}  // namespace tarvex
