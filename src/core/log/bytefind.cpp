#include "log/bytefind.h"

#include <algorithm>
#include <cstring>

namespace tarvex {

const ByteFold& AsciiFold()
{
    static const ByteFold table = [] {
        ByteFold t{};
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + ('a' - 'A') : i);
        return t;
    }();
    return table;
}

ByteFinder::ByteFinder(std::string_view needle, const ByteFold* fold, std::string_view sample)
    : Needle(needle), Fold(fold)
{
    for (std::size_t i = 0; i < Folded.size(); ++i)
        Folded[i] = fold ? (*fold)[i] : static_cast<unsigned char>(i);
    const std::size_t m = Needle.size();
    if (m == 0)
        return;

    // A byte whose case class holds only itself can be scanned for with memchr, which runs at
    // memory speed; of those, the one least seen in the sample gives the fewest false starts.
    std::array<std::size_t, 256> classSize{};
    for (std::size_t i = 0; i < 256; ++i)
        ++classSize[Folded[i]];
    std::array<std::size_t, 256> seen{};
    for (const char c : sample.substr(0, 1 << 16))
        ++seen[static_cast<unsigned char>(c)];
    std::size_t best = static_cast<std::size_t>(-1);
    for (std::size_t i = 0; i < m; ++i) {
        const auto b = static_cast<unsigned char>(Needle[i]);
        if (Folded[b] != b || classSize[b] != 1)
            continue;
        if (!UseAnchor || seen[b] < best) {
            UseAnchor = true;
            Anchor = i;
            best = seen[b];
        }
    }

    Skip.fill(m);
    for (std::size_t i = 0; i + 1 < m; ++i)
        Skip[Folded[static_cast<unsigned char>(Needle[i])]] = m - 1 - i;
}

bool ByteFinder::MatchAt(const unsigned char* p) const
{
    const auto* n = reinterpret_cast<const unsigned char*>(Needle.data());
    if (!Fold)
        return std::memcmp(p, n, Needle.size()) == 0;
    for (std::size_t i = 0; i < Needle.size(); ++i)
        if (Folded[p[i]] != Folded[n[i]])
            return false;
    return true;
}

std::size_t ByteFinder::Forward(std::string_view hay, std::size_t from) const
{
    if (Needle.empty() || from > hay.size() || hay.size() - from < Needle.size())
        return npos;
    return UseAnchor ? ForwardAnchored(hay, from) : ForwardHorspool(hay, from);
}

std::size_t ByteFinder::ForwardAnchored(std::string_view hay, std::size_t from) const
{
    const auto* base = reinterpret_cast<const unsigned char*>(hay.data());
    const std::size_t m = Needle.size();
    const std::size_t lastStart = hay.size() - m;
    const int anchorByte = static_cast<unsigned char>(Needle[Anchor]);
    std::size_t pos = from + Anchor;  // where the anchor byte of a match at from would be
    const std::size_t anchorEnd = lastStart + Anchor + 1;
    while (pos < anchorEnd) {
        const void* hit = std::memchr(base + pos, anchorByte, anchorEnd - pos);
        if (!hit)
            return npos;
        const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - base);
        const std::size_t start = at - Anchor;
        if (MatchAt(base + start))
            return start;
        pos = at + 1;
    }
    return npos;
}

std::size_t ByteFinder::ForwardHorspool(std::string_view hay, std::size_t from) const
{
    const auto* base = reinterpret_cast<const unsigned char*>(hay.data());
    const std::size_t m = Needle.size();
    const std::size_t lastStart = hay.size() - m;
    const unsigned char lastByte = Folded[static_cast<unsigned char>(Needle[m - 1])];
    std::size_t pos = from;
    while (pos <= lastStart) {
        const unsigned char c = Folded[base[pos + m - 1]];
        if (c == lastByte && MatchAt(base + pos))
            return pos;
        pos += Skip[c];
    }
    return npos;
}

std::size_t ByteFinder::Backward(std::string_view hay, std::size_t end) const
{
    const std::size_t m = Needle.size();
    end = std::min(end, hay.size());
    if (m == 0 || end < m)
        return npos;
    const auto* base = reinterpret_cast<const unsigned char*>(hay.data());
    const unsigned char first = Folded[static_cast<unsigned char>(Needle[0])];
    for (std::size_t start = end - m + 1; start-- > 0;)
        if (Folded[base[start]] == first && MatchAt(base + start))
            return start;
    return npos;
}

}  // namespace tarvex
