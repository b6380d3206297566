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
        at = Blocks.back().get();
        // Keep filling the block before it, which is then not the last one: move this one in front.
        if (Blocks.size() > 1) {
            std::swap(Blocks[Blocks.size() - 1], Blocks[Blocks.size() - 2]);
        } else {
            Used = BlockSize;
        }
    } else {
        if (Used + need > BlockSize) {
            Blocks.push_back(std::make_unique<char[]>(BlockSize));
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
    Used = BlockSize;
}

}  // namespace tarvex
