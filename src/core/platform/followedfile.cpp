#include "platform/followedfile.h"

#include <algorithm>
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

constexpr std::uint64_t kFnvBasis = 14695981039346656037ull;

std::uint64_t Fnv(std::uint64_t h, const char* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        h ^= static_cast<unsigned char>(p[i]);
        h *= 1099511628211ull;
    }
    return h;
}

constexpr std::size_t kMaxIo = std::size_t{1} << 30;

}  // namespace

TFollowedFile::~TFollowedFile()
{
    Close();
}

bool TFollowedFile::Open(const std::string& path, std::string& error)
{
    Close();
    Name = path;
    if (!OpenHandle(error))
        return false;
    Opened = StampOfHandle();
    ReadTo = Seen = 0;
    SeenModified = 0;
    FirstHash = kFnvBasis;
    Hashed = 0;
    Tail.clear();
    Leaving = false;
    return true;
}

bool TFollowedFile::Open(const std::string& path, std::string_view known, std::string& error)
{
    return Open(path, known.size(), known.substr(0, std::min(kBlock, known.size())),
                known.substr(known.size() - std::min(kBlock, known.size())), error);
}

bool TFollowedFile::Open(const std::string& path, std::uint64_t knownSize, std::string_view head,
                         std::string_view tail, std::string& error)
{
    if (!Open(path, error))
        return false;
    // The marks a read of the known bytes would have left; Seen stays 0, so the first poll looks.
    Hashed = std::min(kBlock, head.size());
    FirstHash = Fnv(kFnvBasis, head.data(), Hashed);
    Tail.assign(tail.substr(tail.size() - std::min(kBlock, tail.size())));
    ReadTo = knownSize;
    return true;
}

void TFollowedFile::Close()
{
    CloseHandle();
}

TFollowChange TFollowedFile::Poll(std::string& out, std::string& error, std::size_t limit)
{
    out.clear();
    if (!IsOpen()) {
        error = "Cannot read " + Name + ": it is not open";
        return TFollowChange::Failed;
    }
    const TStamp byName = StampOfName();
    const bool gone = byName.State == TStamp::Missing;
    if (gone || (byName.State == TStamp::Found && !byName.SameFile(Opened))) {
        if (!Leaving) {
            // What the mailer wrote to the old file before it let go of the name is its last
            // words: read up to where they reached now, not after, since a writer holding the
            // old file open may go on writing to it for ever.
            Leaving = true;
            const TStamp old = StampOfHandle();
            LeaveAt = old.State == TStamp::Found ? old.Size : ReadTo;
            Seen = std::max(LeaveAt, ReadTo);
        }
        std::string why;
        if (LeaveAt > ReadTo && StillTheSame(why)) {
            if (!ReadOn(LeaveAt, limit, out, error))
                return TFollowChange::Failed;
            if (!out.empty())
                return TFollowChange::Appended;
        }
        Leaving = false;
        CloseHandle();
        if (gone)
            return TFollowChange::Removed;
        if (!OpenHandle(error))
            return StampOfName().State == TStamp::Missing ? TFollowChange::Removed : TFollowChange::Failed;
        Opened = StampOfHandle();
        return StartOver(TFollowChange::Rotated, limit, out, error);
    }
    Leaving = false;

    const TStamp now = StampOfHandle();
    if (now.State != TStamp::Found) {
        error = "Cannot look at " + Name;
        return TFollowChange::Failed;
    }
    if (now.Size == Seen && now.Modified == SeenModified && ReadTo >= Seen)
        return TFollowChange::Nothing;
    if (now.Size < ReadTo)
        return StartOver(TFollowChange::Rewritten, limit, out, error);
    std::string why;
    if (!StillTheSame(why)) {
        if (!why.empty()) {
            error = why;
            return TFollowChange::Failed;
        }
        return StartOver(TFollowChange::Rewritten, limit, out, error);
    }
    Seen = now.Size;
    SeenModified = now.Modified;
    if (!ReadOn(now.Size, limit, out, error))
        return TFollowChange::Failed;
    return out.empty() ? TFollowChange::Nothing : TFollowChange::Appended;
}

bool TFollowedFile::StillTheSame(std::string& error) const
{
    std::string buf;
    if (Hashed > 0) {
        if (!ReadAt(0, Hashed, buf, error))
            return false;
        if (buf.size() != Hashed || Fnv(kFnvBasis, buf.data(), buf.size()) != FirstHash)
            return false;
    }
    if (!Tail.empty()) {
        if (!ReadAt(ReadTo - Tail.size(), Tail.size(), buf, error))
            return false;
        if (buf != Tail)
            return false;
    }
    return true;
}

bool TFollowedFile::ReadOn(std::uint64_t size, std::size_t limit, std::string& out, std::string& error)
{
    if (size <= ReadTo)
        return true;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size - ReadTo, limit));
    if (!ReadAt(ReadTo, want, out, error))
        return false;
    if (Hashed < kBlock) {
        const std::size_t n = std::min(kBlock - Hashed, out.size());
        FirstHash = Fnv(FirstHash, out.data(), n);
        Hashed += n;
    }
    if (out.size() >= kBlock) {
        Tail.assign(out, out.size() - kBlock, kBlock);
    } else {
        Tail.append(out);
        if (Tail.size() > kBlock)
            Tail.erase(0, Tail.size() - kBlock);
    }
    ReadTo += out.size();
    return true;
}

TFollowChange TFollowedFile::StartOver(TFollowChange why, std::size_t limit, std::string& out, std::string& error)
{
    ReadTo = 0;
    FirstHash = kFnvBasis;
    Hashed = 0;
    Tail.clear();
    const TStamp now = StampOfHandle();
    Seen = now.Size;
    SeenModified = now.Modified;
    if (!ReadOn(Seen, limit, out, error))
        return TFollowChange::Failed;
    return why;
}

#ifdef _WIN32

bool TFollowedFile::IsOpen() const
{
    return Handle != nullptr;
}

bool TFollowedFile::OpenHandle(std::string& error)
{
    HANDLE h = CreateFileW(Widen(Name).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = LastErrorText("Cannot open " + Name);
        return false;
    }
    Handle = h;
    return true;
}

void TFollowedFile::CloseHandle()
{
    if (Handle) {
        ::CloseHandle(static_cast<HANDLE>(Handle));
        Handle = nullptr;
    }
}

namespace {

template <class TStampT>
TStampT StampOf(HANDLE h)
{
    TStampT s;
    BY_HANDLE_FILE_INFORMATION i;
    if (!GetFileInformationByHandle(h, &i))
        return s;
    s.State = TStampT::Found;
    s.Device = i.dwVolumeSerialNumber;
    s.Index = (std::uint64_t{i.nFileIndexHigh} << 32) | i.nFileIndexLow;
    s.Size = (std::uint64_t{i.nFileSizeHigh} << 32) | i.nFileSizeLow;
    s.Modified = static_cast<std::int64_t>((std::uint64_t{i.ftLastWriteTime.dwHighDateTime} << 32) |
                                           i.ftLastWriteTime.dwLowDateTime);
    return s;
}

}  // namespace

TFollowedFile::TStamp TFollowedFile::StampOfHandle() const
{
    return Handle ? StampOf<TStamp>(static_cast<HANDLE>(Handle)) : TStamp();
}

TFollowedFile::TStamp TFollowedFile::StampOfName() const
{
    HANDLE h = CreateFileW(Widen(Name).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        TStamp s;
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_DELETE_PENDING)
            s.State = TStamp::Missing;
        // Where a removal does not take the name at once (file systems without POSIX deletion,
        // older Windows), a file removed while we hold it keeps its name, refusing opens with
        // "access denied", until our handle goes: only then can the mailer make its log anew.
        FILE_STANDARD_INFO info{};
        if (code == ERROR_ACCESS_DENIED && Handle &&
            GetFileInformationByHandleEx(static_cast<HANDLE>(Handle), FileStandardInfo, &info, sizeof info) &&
            info.DeletePending)
            s.State = TStamp::Missing;
        return s;
    }
    const TStamp s = StampOf<TStamp>(h);
    ::CloseHandle(h);
    return s;
}

bool TFollowedFile::ReadAt(std::uint64_t offset, std::size_t n, std::string& out, std::string& error) const
{
    out.resize(n);
    std::size_t got = 0;
    while (got < n) {
        OVERLAPPED ov{};
        const std::uint64_t at = offset + got;
        ov.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
        ov.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD read = 0;
        const DWORD ask = static_cast<DWORD>(std::min(n - got, kMaxIo));
        if (!ReadFile(static_cast<HANDLE>(Handle), out.data() + got, ask, &read, &ov)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            error = LastErrorText("Cannot read " + Name);
            out.clear();
            return false;
        }
        if (read == 0)
            break;
        got += read;
    }
    out.resize(got);
    return true;
}

#else

bool TFollowedFile::IsOpen() const
{
    return Fd >= 0;
}

bool TFollowedFile::OpenHandle(std::string& error)
{
    int fd;
    do
        fd = ::open(Name.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = ErrnoText("Cannot open " + Name, errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = ErrnoText("Cannot open " + Name, EISDIR);
        return false;
    }
    Fd = fd;
    return true;
}

void TFollowedFile::CloseHandle()
{
    if (Fd >= 0) {
        ::close(Fd);
        Fd = -1;
    }
}

namespace {

template <class TStampT>
TStampT StampOf(const struct stat& st)
{
    TStampT s;
    s.State = TStampT::Found;
    s.Device = static_cast<std::uint64_t>(st.st_dev);
    s.Index = static_cast<std::uint64_t>(st.st_ino);
    s.Size = static_cast<std::uint64_t>(st.st_size);
#ifdef __linux__
    s.Modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#else
    s.Modified = static_cast<std::int64_t>(st.st_mtime);
#endif
    return s;
}

}  // namespace

TFollowedFile::TStamp TFollowedFile::StampOfHandle() const
{
    struct stat st;
    if (Fd < 0 || ::fstat(Fd, &st) != 0)
        return {};
    return StampOf<TStamp>(st);
}

TFollowedFile::TStamp TFollowedFile::StampOfName() const
{
    struct stat st;
    if (::stat(Name.c_str(), &st) != 0) {
        TStamp s;
        if (errno == ENOENT || errno == ENOTDIR)
            s.State = TStamp::Missing;
        return s;
    }
    return StampOf<TStamp>(st);
}

bool TFollowedFile::ReadAt(std::uint64_t offset, std::size_t n, std::string& out, std::string& error) const
{
    out.resize(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(Fd, out.data() + got, std::min(n - got, kMaxIo), static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            error = ErrnoText("Cannot read " + Name, errno);
            out.clear();
            return false;
        }
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    return true;
}

#endif

}  // namespace tarvex
