#include "platform/filebytes.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/sharedfile.h"

namespace tarvex {

namespace {
constexpr std::size_t ReadPiece = std::size_t{512} << 10;
// Room for what the mailer appends while the file is read, before the buffer has to grow.
constexpr std::size_t GrowthSlack = std::size_t{64} << 10;
}  // namespace

bool FileBytes::Load(const std::string& path, std::string& error)
{
    SharedReadFile file;
    if (!file.Open(path, error))
        return false;
    try {
        const std::int64_t fileSize = file.Size();
        std::size_t cap = fileSize > 0 ? static_cast<std::size_t>(fileSize) + GrowthSlack : GrowthSlack;
        BigBuffer buf(cap);
        std::size_t size = 0;
        for (;;) {
            if (size == cap) {
                const std::size_t grown = cap + cap / 2 + ReadPiece;
                BigBuffer bigger(grown);
                std::memcpy(bigger.Data(), buf.Data(), size);
                buf = std::move(bigger);
                cap = grown;
            }
            const std::size_t ask = std::min(ReadPiece, cap - size);
            const std::int64_t got = file.Read(buf.Data() + size, ask, error);
            if (got < 0)
                return false;
            if (got == 0)
                break;
            size += static_cast<std::size_t>(got);
        }
        Buf = std::move(buf);
        Size = size;
    } catch (const std::bad_alloc&) {
        error = "Not enough memory to load " + path;
        return false;
    }
    return true;
}

}  // namespace tarvex
