#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// A file opened for reading while its owner (a mailer) may still append to it, truncate it or
// delete it. Reads are plain reads, never a memory map: a file cut short under a map would
// fault on access, while a read simply returns fewer bytes.
class SharedReadFile
{
public:
    SharedReadFile() = default;
    ~SharedReadFile();
    SharedReadFile(const SharedReadFile&) = delete;
    SharedReadFile& operator=(const SharedReadFile&) = delete;

    // Opens for reading, sharing read, write and delete with other programs.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const;

    // The size at this moment; -1 when it cannot be told.
    std::int64_t Size() const;

    // Reads up to n bytes at the current position. Returns the count read, 0 at the end of the
    // file, -1 on an error (with its text in error).
    std::int64_t Read(char* dst, std::size_t n, std::string& error);
    // Reads up to n bytes at offset, whatever the current position; the same results as Read.
    std::int64_t ReadAt(std::uint64_t offset, char* dst, std::size_t n, std::string& error);

private:
#ifdef _WIN32
    void* Handle = nullptr;
#else
    int Fd = -1;
#endif
};

// Makes the file at path hold exactly bytes: opens it (creating it when missing) with the same
// sharing as above, truncates it and writes every byte, checking each write. The file is
// rewritten in place rather than replaced, because the mailer may hold it open.
bool RewriteFileBytes(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace tarvex
