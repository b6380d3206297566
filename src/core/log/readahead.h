#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/sharedfile.h"

namespace tarvex {

// Reads a file's pieces in order on a thread of its own, a ring of three buffers ahead of the
// one who takes them, so reading and whatever is done with the bytes share the two cores.
class ReadAhead
{
public:
    // Reads [from, to) of the file (to may lie past its end: reading stops at the end).
    ReadAhead(SharedReadFile& file, std::uint64_t from, std::uint64_t to, std::size_t piece);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next piece, valid until the next call: its length, 0 at the end, -1 on an error.
    std::int64_t Next(const char*& data, std::string& error);

private:
    static constexpr std::size_t Ring = 3;

    void Run();

    SharedReadFile& File;
    std::uint64_t At;
    std::uint64_t To;
    std::size_t Piece;
    std::unique_ptr<char[]> Bufs[Ring];
    std::int64_t Got[Ring] = {};
    std::string Error;
    std::size_t Produced = 0, Taken = 0, Released = 0;
    bool Stop = false;
    std::mutex Mutex;
    std::condition_variable Changed;
    std::thread Worker;
};

}  // namespace tarvex
