#include "base/textstore.h"

#include <ostream>

namespace tarvex {

std::ostream& operator<<(std::ostream& out, const TStoredText& t)
{
    const std::string_view v = t.View();
    return out.write(v.data(), static_cast<std::streamsize>(v.size()));
}

TStoredText TTextStore::Keep(std::string_view text)
{
    if (text.empty())
        return {};
    if (const auto it = Known.find(text); it != Known.end())
        return TStoredText(it->data() - sizeof(std::size_t));
    const std::size_t need = sizeof(std::size_t) + text.size();
    char* at = nullptr;
    if (need > BlockSize / 4) {
        // A long text gets a block of its own, so that it wastes no room in the shared ones.
        Blocks.push_back(std::make_unique<char[]>(need));
        BlockSizes.push_back(need);
        at = Blocks.back().get();
        // Keep filling the block before it, which is then not the last one: move this one in front.
        if (Blocks.size() > 1) {
            std::swap(Blocks[Blocks.size() - 1], Blocks[Blocks.size() - 2]);
            std::swap(BlockSizes[BlockSizes.size() - 1], BlockSizes[BlockSizes.size() - 2]);
        } else {
            Used = BlockSize;
        }
    } else {
        if (Used + need > BlockSize) {
            Blocks.push_back(std::make_unique<char[]>(BlockSize));
            BlockSizes.push_back(BlockSize);
            Used = 0;
        }
        at = Blocks.back().get() + Used;
        Used += need;
    }
    const std::size_t n = text.size();
    std::memcpy(at, &n, sizeof n);
    std::memcpy(at + sizeof n, text.data(), n);
    Known.insert(std::string_view(at + sizeof n, n));
    return TStoredText(at);
}

void TTextStore::Clear()
{
    Known = {};
    Blocks.clear();
    Blocks.shrink_to_fit();
    BlockSizes.clear();
    BlockSizes.shrink_to_fit();
    Used = BlockSize;
}

std::size_t TTextStore::Memory() const
{
    std::size_t bytes = Known.bucket_count() * sizeof(void*) + Known.size() * (sizeof(std::string_view) + 2 * sizeof(void*));
    for (const std::size_t s : BlockSizes)
        bytes += s;
    return bytes;
}

}  // namespace tarvex
