#include "log/readahead.h"

#include <algorithm>
#include <utility>

namespace tarvex {

ReadAhead::ReadAhead(SharedReadFile& file, std::uint64_t from, std::uint64_t to, std::size_t piece, PieceHook onRead)
    : File(file), At(from), To(to), Piece(piece), OnRead(std::move(onRead))
{
    for (auto& b : Bufs)
        b = std::make_unique<char[]>(piece);
    Worker = std::thread([this] { Run(); });
}

ReadAhead::~ReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(Mutex);
        Stop = true;
    }
    Changed.notify_all();
    Worker.join();
}

std::int64_t ReadAhead::Next(const char*& data, std::string& error, std::size_t* place)
{
    std::unique_lock<std::mutex> lock(Mutex);
    Released = Taken;
    Changed.notify_all();
    Changed.wait(lock, [this] { return Produced > Taken; });
    const std::size_t slot = Taken % Ring;
    ++Taken;
    data = Bufs[slot].get();
    if (place)
        *place = slot;
    if (Got[slot] < 0)
        error = Error;
    return Got[slot];
}

void ReadAhead::Run()
{
    for (;;) {
        std::size_t slot = 0;
        {
            std::unique_lock<std::mutex> lock(Mutex);
            Changed.wait(lock, [this] { return Stop || Produced < Released + Ring; });
            if (Stop)
                return;
            slot = Produced % Ring;
        }
        const std::size_t ask = At >= To ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(Piece, To - At));
        std::string error;
        const std::int64_t got = ask ? File.ReadAt(At, Bufs[slot].get(), ask, error) : 0;
        if (got > 0) {
            At += static_cast<std::uint64_t>(got);
            if (OnRead)
                OnRead(slot, Bufs[slot].get(), static_cast<std::size_t>(got));
        }
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Got[slot] = got;
            if (got < 0)
                Error = error;
            ++Produced;
        }
        Changed.notify_all();
        if (got <= 0)
            return;
    }
}

}  // namespace tarvex
