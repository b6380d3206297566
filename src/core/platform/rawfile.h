#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// A file handle with the few positional operations a rewrite in place needs. Opened for
// reading and writing, sharing read, write and delete with other programs (a mailer may hold
// the file open meanwhile). Every operation returns false and fills error on failure.
class TRawFile
{
public:
    TRawFile() = default;
    ~TRawFile() { Close(); }
    TRawFile(const TRawFile&) = delete;
    TRawFile& operator=(const TRawFile&) = delete;

    // create: make the file, or empty it when it exists.
    bool Open(const std::string& path, bool create, std::string& error);
    void Close();

    // Appends everything from offset to the end of the file to out.
    bool ReadFrom(std::uint64_t offset, std::string& out, std::string& error);
    bool WriteAt(std::uint64_t offset, std::string_view data, std::string& error);
    bool Truncate(std::uint64_t size, std::string& error);
    // The size at this moment; false when it cannot be told.
    bool Size(std::uint64_t& size, std::string& error);
    // Waits until the file's bytes are on the disk, not only in the system's cache.
    bool Flush(std::string& error);

private:
    std::string Path;
#ifdef _WIN32
    void* H = nullptr;
#else
    int Fd = -1;
#endif
};

// Gives a file a new name, replacing a file of that name, so that a power cut leaves either
// the old name or the new one on the disk.
bool RenameDurably(const std::string& from, const std::string& to, std::string& error);

// Waits until the names in the folder that holds path (creations, renames, removals) are on
// the disk. On Windows a durable rename already wrote them through.
bool SyncFolderOf(const std::string& path, std::string& error);

}  // namespace tarvex
