#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/sharedfile.h"

namespace tarvex {

// Reads a file's pieces in order on a thread of its own, a ring of three buffers ahead of the
// one who takes them, so reading and whatever is done with the bytes share the two cores. A
// hook may do a first step of the work on each piece on the reading thread, while its bytes
// are still in that core's cache; it is told the piece's place in the ring (0 to Ring - 1),
// which Next tells the taker too, so both sides can keep what the step found per place.
class ReadAhead
{
public:
    static constexpr std::size_t Ring = 3;
    using PieceHook = std::function<void(std::size_t place, const char* data, std::size_t size)>;

    // Reads [from, to) of the file (to may lie past its end: reading stops at the end).
    ReadAhead(SharedReadFile& file, std::uint64_t from, std::uint64_t to, std::size_t piece, PieceHook onRead = {});
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next piece, valid until the next call: its length, 0 at the end, -1 on an error;
    // place, when asked, says where in the ring it lies.
    std::int64_t Next(const char*& data, std::string& error, std::size_t* place = nullptr);

private:
    void Run();

    SharedReadFile& File;
    std::uint64_t At;
    std::uint64_t To;
    std::size_t Piece;
    PieceHook OnRead;
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
