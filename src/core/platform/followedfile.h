#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tarvex {

// What one look at a followed file found.
enum class TFollowChange {
    Nothing,    // no new bytes
    Appended,   // bytes were added at the end: the poll gives (some of) them
    Rewritten,  // the file was cut short or its bytes were written anew: the poll gives its bytes
                // from its start, and whatever was read before no longer holds
    Rotated,    // the name now names another file (renamed away and made again): the poll gives
                // the new file's bytes from its start
    Removed,    // the name names no file any more: nothing more comes
    Failed,     // the file could not be read: the error tells why
};

// A log file read as it grows, a mailer appending to it, cutting it, rotating or removing it
// meanwhile. It keeps the file's identity (device and inode; volume and file index on
// Windows), how far it has read, a hash of the first block and the last block read, and reads
// only new bytes, with positional reads; never a memory map, since a file cut short under a
// map faults.
//
// Grown with the same identity and the same first and last block: appended. Smaller, or either
// block changed: rewritten. The name on another file: rotated; the old file's last appended
// bytes are given first, as far as they reached when the rotation was seen. No file of the
// name: removed, after the same last bytes.
class TFollowedFile
{
public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
    // The bytes whose change means a rewrite, at the start of the file and before the offset.
    static constexpr std::size_t kBlock = 4096;

    TFollowedFile() = default;
    ~TFollowedFile();
    TFollowedFile(const TFollowedFile&) = delete;
    TFollowedFile& operator=(const TFollowedFile&) = delete;

    // Opens the file and reads nothing yet: the first poll gives its bytes as appended.
    bool Open(const std::string& path, std::string& error);
    // Opens the file as if its first bytes, known, were read already (a window shows them):
    // the first poll gives what follows them, or tells a rewrite when the file no longer starts
    // with them.
    bool Open(const std::string& path, std::string_view known, std::string& error);
    // The same when the known bytes are not at hand whole (a viewer reads them on demand): their
    // count, and their first and last kBlock bytes (all of them when fewer).
    bool Open(const std::string& path, std::uint64_t knownSize, std::string_view head, std::string_view tail,
              std::string& error);
    void Close();
    bool IsOpen() const;

    // Looks at the file once; out is replaced by the bytes the change brings, at most limit
    // of them (Behind says whether more were there).
    TFollowChange Poll(std::string& out, std::string& error, std::size_t limit = kNoLimit);

    // Bytes read from the start of the file now followed.
    std::uint64_t Offset() const { return ReadTo; }
    // The last look saw more bytes than the poll gave.
    bool Behind() const { return Seen > ReadTo; }
    const std::string& Path() const { return Name; }

private:
    struct TStamp {
        enum { Found, Missing, Unknown } State = Unknown;
        std::uint64_t Device = 0, Index = 0, Size = 0;
        std::int64_t Modified = 0;
        bool SameFile(const TStamp& o) const { return Device == o.Device && Index == o.Index; }
    };
    bool OpenHandle(std::string& error);
    void CloseHandle();
    TStamp StampOfHandle() const;
    TStamp StampOfName() const;
    // Reads n bytes at offset into out (fewer when the file is shorter); false on an error.
    bool ReadAt(std::uint64_t offset, std::size_t n, std::string& out, std::string& error) const;
    // Whether the first block and the last block read still hold the bytes read.
    bool StillTheSame(std::string& error) const;
    // Reads from the offset up to size, at most limit bytes, and keeps the blocks' marks.
    bool ReadOn(std::uint64_t size, std::size_t limit, std::string& out, std::string& error);
    // Starts over on the file now open (or opened again by name).
    TFollowChange StartOver(TFollowChange why, std::size_t limit, std::string& out, std::string& error);

    std::string Name;
#ifdef _WIN32
    void* Handle = nullptr;
#else
    int Fd = -1;
#endif
    TStamp Opened;            // the identity of the file open
    std::uint64_t ReadTo = 0; // bytes read
    std::uint64_t Seen = 0;   // its size at the last look
    std::int64_t SeenModified = 0;
    std::uint64_t FirstHash = 0;
    std::size_t Hashed = 0;   // bytes of the first block in FirstHash
    std::string Tail;         // the last bytes read, up to a block
    // The name left the open file: its bytes up to this size are read before it is left.
    bool Leaving = false;
    std::uint64_t LeaveAt = 0;
};

}  // namespace tarvex
