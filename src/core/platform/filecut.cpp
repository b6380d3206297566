#include "platform/filecut.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvex {

namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

// A file handle with the few positional operations the cut needs.
class TCutFile
{
public:
    ~TCutFile() { Close(); }

    bool Open(const std::string& path, bool create, std::string& error)
    {
#ifdef _WIN32
        const std::wstring wide = std::filesystem::path(path).wstring();
        H = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (H == INVALID_HANDLE_VALUE) {
            H = nullptr;
            error = "Cannot open " + path + ": error " + std::to_string(GetLastError());
            return false;
        }
#else
        Fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_TRUNC : 0), 0644);
        if (Fd < 0) {
            error = "Cannot open " + path + ": " + std::strerror(errno);
            return false;
        }
#endif
        Path = path;
        return true;
    }

    void Close()
    {
#ifdef _WIN32
        if (H)
            CloseHandle(H);
        H = nullptr;
#else
        if (Fd >= 0)
            ::close(Fd);
        Fd = -1;
#endif
    }

    // Appends everything from offset to the end of the file to out.
    bool ReadFrom(std::uint64_t offset, std::string& out, std::string& error)
    {
        char buf[65536];
        for (;;) {
            std::int64_t got = 0;
#ifdef _WIN32
            OVERLAPPED ov{};
            ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
            ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD n = 0;
            if (!ReadFile(H, buf, sizeof buf, &n, &ov)) {
                if (GetLastError() != ERROR_HANDLE_EOF) {
                    error = "Cannot read " + Path + ": error " + std::to_string(GetLastError());
                    return false;
                }
                n = 0;
            }
            got = n;
#else
            const ssize_t n = ::pread(Fd, buf, sizeof buf, static_cast<off_t>(offset));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = "Cannot read " + Path + ": " + std::strerror(errno);
                return false;
            }
            got = n;
#endif
            if (got == 0)
                return true;
            out.append(buf, static_cast<std::size_t>(got));
            offset += static_cast<std::uint64_t>(got);
        }
    }

    bool WriteAt(std::uint64_t offset, std::string_view data, std::string& error)
    {
        while (!data.empty()) {
            std::int64_t put = 0;
#ifdef _WIN32
            OVERLAPPED ov{};
            ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
            ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD n = 0;
            const DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
            if (!WriteFile(H, data.data(), chunk, &n, &ov)) {
                error = "Cannot write " + Path + ": error " + std::to_string(GetLastError());
                return false;
            }
            put = n;
#else
            const ssize_t n = ::pwrite(Fd, data.data(), data.size(), static_cast<off_t>(offset));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error = "Cannot write " + Path + ": " + std::strerror(errno);
                return false;
            }
            put = n;
#endif
            if (put == 0) {
                error = "Cannot write " + Path;
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(put));
            offset += static_cast<std::uint64_t>(put);
        }
        return true;
    }

    bool Truncate(std::uint64_t size, std::string& error)
    {
#ifdef _WIN32
        LARGE_INTEGER li;
        li.QuadPart = static_cast<LONGLONG>(size);
        if (!SetFilePointerEx(H, li, nullptr, FILE_BEGIN) || !SetEndOfFile(H)) {
            error = "Cannot truncate " + Path + ": error " + std::to_string(GetLastError());
            return false;
        }
#else
        if (::ftruncate(Fd, static_cast<off_t>(size)) != 0) {
            error = "Cannot truncate " + Path + ": " + std::strerror(errno);
            return false;
        }
#endif
        return true;
    }

    bool Flush(std::string& error)
    {
#ifdef _WIN32
        if (!FlushFileBuffers(H)) {
            error = "Cannot flush " + Path + ": error " + std::to_string(GetLastError());
            return false;
        }
#else
        if (::fsync(Fd) != 0) {
            error = "Cannot flush " + Path + ": " + std::strerror(errno);
            return false;
        }
#endif
        return true;
    }

private:
    std::string Path;
#ifdef _WIN32
    HANDLE H = nullptr;
#else
    int Fd = -1;
#endif
};

}  // namespace

std::string CutCopyPath(std::string_view localPath) { return std::string(localPath) + ".cut"; }

TFileCutResult CutFileHead(std::string_view localPath, std::uint64_t dropBytes, std::string_view seenKept,
                           std::string* error)
{
    if (dropBytes == 0)
        return TFileCutResult::Unchanged;
    const std::string path(localPath);
    const std::string copyPath = CutCopyPath(localPath);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(copyPath), ec)) {
        SetError(error, "An earlier cut of " + path + " did not finish; its kept lines are in " + copyPath +
                            ". The log is not cut until that file is gone.");
        return TFileCutResult::Unchanged;
    }

    std::string why;
    TCutFile log;
    if (!log.Open(path, false, why)) {
        SetError(error, why);
        return TFileCutResult::Failed;
    }
    std::string kept;
    if (!log.ReadFrom(dropBytes, kept, why)) {
        SetError(error, why);
        return TFileCutResult::Failed;
    }
    // A file that was cut or rewritten since the caller read it is left alone.
    if (kept.size() < seenKept.size() || std::string_view(kept).substr(0, seenKept.size()) != seenKept) {
        SetError(error, path + " changed while it was being cut; it was left as it is.");
        return TFileCutResult::Unchanged;
    }

    // The copy first: from here on a crash leaves every kept byte in one of the two files.
    TCutFile copy;
    if (!copy.Open(copyPath, true, why) || !copy.WriteAt(0, kept, why) || !copy.Flush(why)) {
        copy.Close();
        std::filesystem::remove(std::filesystem::path(copyPath), ec);
        SetError(error, why);
        return TFileCutResult::Failed;
    }
    // Take in what the mailer appended meanwhile, into both the copy and the kept part.
    const auto catchUp = [&](bool toCopy) {
        std::string more;
        if (!log.ReadFrom(dropBytes + kept.size(), more, why))
            return false;
        if (more.empty())
            return true;
        if (toCopy && (!copy.WriteAt(kept.size(), more, why) || !copy.Flush(why)))
            return false;
        if (!toCopy && !log.WriteAt(kept.size(), more, why))
            return false;
        kept += more;
        return true;
    };
    if (!catchUp(true)) {
        SetError(error, why);
        return TFileCutResult::Failed;
    }
    copy.Close();

    // Overwriting [0, kept) never reaches bytes at or after dropBytes + kept, where appended
    // bytes land, so they can still be read and moved down after the kept part.
    if (!log.WriteAt(0, kept, why)) {
        SetError(error, why + " (the kept lines are in " + copyPath + ")");
        return TFileCutResult::Failed;
    }
    for (int round = 0; round < 16; ++round) {
        const std::size_t before = kept.size();
        if (!catchUp(false)) {
            SetError(error, why + " (the kept lines are in " + copyPath + ")");
            return TFileCutResult::Failed;
        }
        if (kept.size() == before)
            break;
    }
    if (!log.Truncate(kept.size(), why) || !log.Flush(why)) {
        SetError(error, why + " (the kept lines are in " + copyPath + ")");
        return TFileCutResult::Failed;
    }
    log.Close();
    std::filesystem::remove(std::filesystem::path(copyPath), ec);
    return TFileCutResult::Cut;
}

}  // namespace tarvex
