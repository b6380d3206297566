#include "base/lineindex.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarvex {

namespace {

constexpr unsigned WidthCode(std::uint64_t delta)
{
    return delta <= UINT8_MAX ? 0 : delta <= UINT16_MAX ? 1 : delta <= UINT32_MAX ? 2 : 3;
}

template <class T>
std::uint64_t SumOf(const std::uint8_t* p, std::size_t n)
{
    std::uint64_t sum = 0;
    for (std::size_t k = 0; k < n; ++k) {
        T v;
        std::memcpy(&v, p + k * sizeof(T), sizeof(T));
        sum += v;
    }
    return sum;
}

std::uint64_t SumOfDeltas(const std::uint8_t* p, unsigned code, std::size_t n)
{
    switch (code) {
    case 0: return SumOf<std::uint8_t>(p, n);
    case 1: return SumOf<std::uint16_t>(p, n);
    case 2: return SumOf<std::uint32_t>(p, n);
    default: return SumOf<std::uint64_t>(p, n);
    }
}

void Put(std::vector<std::uint8_t>& data, unsigned code, std::uint64_t v)
{
    if (code == 0) {
        data.push_back(static_cast<std::uint8_t>(v));
        return;
    }
    const std::size_t width = std::size_t{1} << code;
    const std::size_t at = data.size();
    data.resize(at + width);
    // Little-endian on every machine we build for; the width's low bytes are the value.
    switch (code) {
    case 1: { const auto x = static_cast<std::uint16_t>(v); std::memcpy(&data[at], &x, width); break; }
    case 2: { const auto x = static_cast<std::uint32_t>(v); std::memcpy(&data[at], &x, width); break; }
    default: std::memcpy(&data[at], &v, width); break;
    }
}

}  // namespace

void LineIndex::Clear()
{
    Groups.clear();
    Groups.shrink_to_fit();
    Entries = Bias = 0;
    Last = 0;
}

std::uint64_t LineIndex::Stored(std::size_t entry) const
{
    const Group& g = Groups[entry >> GroupLineShift];
    const std::size_t b = (entry >> BlockShift) & (GroupBlocks - 1);
    const std::size_t j = entry & (BlockLines - 1);
    const std::uint32_t where = g.Where[b];
    return g.Base[b] + (j ? SumOfDeltas(g.Data.data() + (where >> 2), where & 3, j) : 0);
}

std::uint64_t LineIndex::At(std::size_t i) const
{
    return Stored(i + Bias);
}

void LineIndex::Decode(std::size_t first, std::size_t count, std::uint64_t* out) const
{
    std::size_t entry = first + Bias;
    const std::size_t end = entry + count;
    while (entry < end) {
        const Group& g = Groups[entry >> GroupLineShift];
        const std::size_t b = (entry >> BlockShift) & (GroupBlocks - 1);
        const std::uint32_t where = g.Where[b];
        const std::uint8_t* data = g.Data.data() + (where >> 2);
        const unsigned code = where & 3;
        std::size_t j = entry & (BlockLines - 1);
        std::uint64_t value = Stored(entry);
        const std::size_t stop = std::min(end - entry, BlockLines - j);
        for (std::size_t k = 0; k < stop; ++k) {
            if (k)
                value += SumOfDeltas(data + ((j - 1) << code), code, 1);
            *out++ = value;
            ++j;
        }
        entry += stop;
    }
}

void LineIndex::Widen(Group& g, unsigned code, std::size_t deltas)
{
    const std::size_t start = g.Where.back() >> 2;
    const unsigned old = g.Where.back() & 3;
    std::array<std::uint64_t, BlockLines> values{};
    for (std::size_t k = 0; k < deltas; ++k)
        values[k] = SumOfDeltas(g.Data.data() + start + (k << old), old, 1);
    g.Data.resize(start);
    for (std::size_t k = 0; k < deltas; ++k)
        Put(g.Data, code, values[k]);
    g.Where.back() = static_cast<std::uint32_t>(start << 2) | code;
}

void LineIndex::Push(std::uint64_t offset)
{
    const std::size_t entry = Entries;
    if ((entry & ((std::size_t{1} << GroupLineShift) - 1)) == 0) {
        // A finished group gives back what its data did not use; it is never appended to again.
        if (!Groups.empty() && Groups.back().Data.capacity() > Groups.back().Data.size() + 4096)
            Groups.back().Data.shrink_to_fit();
        Group& g = Groups.emplace_back();
        g.Base.reserve(GroupBlocks);
        g.Where.reserve(GroupBlocks);
        // Most logs' lines are shorter than 256 bytes: one byte each.
        g.Data.reserve(Groups.size() > 1 ? GroupBlocks * BlockLines : 256);
    }
    Group& g = Groups.back();
    const std::size_t j = entry & (BlockLines - 1);
    if (j == 0) {
        g.Base.push_back(offset);
        g.Where.push_back(static_cast<std::uint32_t>(g.Data.size() << 2));
    } else {
        const std::uint64_t delta = offset - Last;
        const unsigned code = WidthCode(delta);
        if (code > (g.Where.back() & 3))
            Widen(g, code, j - 1);
        Put(g.Data, g.Where.back() & 3, delta);
    }
    Last = offset;
    ++Entries;
}

void LineIndex::PushRun(std::uint64_t first, const std::uint32_t* rel, std::size_t n)
{
    std::size_t k = 0;
    while (k < n) {
        const std::size_t j = Entries & (BlockLines - 1);
        if (j == 0) {
            // A block (perhaps a group) starts with a full offset.
            Push(first + rel[k++]);
            continue;
        }
        // The rest of this block's entries at once: the widest delta among them decides the
        // width, widening the block's earlier deltas first when it needs more.
        Group& g = Groups.back();
        const std::size_t m = std::min(BlockLines - j, n - k);
        const std::uint32_t* r = rel + k;
        std::uint64_t prev = Last, widest = 0;
        for (std::size_t i = 0; i < m; ++i) {
            widest = std::max(widest, first + r[i] - prev);
            prev = first + r[i];
        }
        unsigned code = g.Where.back() & 3;
        if (WidthCode(widest) > code) {
            code = WidthCode(widest);
            Widen(g, code, j - 1);
        }
        const std::size_t at = g.Data.size();
        g.Data.resize(at + (m << code));
        std::uint8_t* out = g.Data.data() + at;
        prev = Last;
        auto write = [&]<class T>(T) {
            for (std::size_t i = 0; i < m; ++i) {
                const std::uint64_t v = first + r[i];
                const auto d = static_cast<T>(v - prev);
                std::memcpy(out + i * sizeof(T), &d, sizeof(T));
                prev = v;
            }
        };
        switch (code) {
        case 0: write(std::uint8_t{}); break;
        case 1: write(std::uint16_t{}); break;
        case 2: write(std::uint32_t{}); break;
        default: write(std::uint64_t{}); break;
        }
        Last = prev;
        Entries += m;
        k += m;
    }
}

std::size_t LineIndex::CountAtOrBelow(std::uint64_t offset) const
{
    if (Entries == Bias)
        return 0;
    auto baseOf = [&](std::size_t block) {
        return Groups[block >> GroupShift].Base[block & (GroupBlocks - 1)];
    };
    // The last block starting at or below offset, then a walk along its deltas.
    std::size_t lo = Bias >> BlockShift, hi = ((Entries - 1) >> BlockShift) + 1;
    if (baseOf(lo) > offset)
        return 0;
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (baseOf(mid) <= offset)
            lo = mid;
        else
            hi = mid;
    }
    const Group& g = Groups[lo >> GroupShift];
    const std::uint32_t where = g.Where[lo & (GroupBlocks - 1)];
    const std::uint8_t* data = g.Data.data() + (where >> 2);
    const unsigned code = where & 3;
    std::size_t entry = lo << BlockShift;
    const std::size_t end = std::min(Entries, entry + BlockLines);
    std::uint64_t value = baseOf(lo);
    std::size_t count = 0;  // entries of this block at or below offset
    while (entry < end && value <= offset) {
        ++count;
        if (++entry < end)
            value += SumOfDeltas(data + ((count - 1) << code), code, 1);
    }
    const std::size_t through = (lo << BlockShift) + count;
    return through > Bias ? through - Bias : 0;
}

void LineIndex::Truncate(std::size_t n)
{
    const std::size_t keep = n + Bias;
    if (keep >= Entries)
        return;
    if (keep <= Bias) {
        Clear();
        return;
    }
    const std::size_t groups = ((keep - 1) >> GroupLineShift) + 1;
    Groups.resize(groups);
    Group& g = Groups.back();
    const std::size_t inGroup = keep - ((groups - 1) << GroupLineShift);
    const std::size_t blocks = ((inGroup - 1) >> BlockShift) + 1;
    g.Base.resize(blocks);
    g.Where.resize(blocks);
    const std::size_t inBlock = inGroup - ((blocks - 1) << BlockShift);
    g.Data.resize((g.Where.back() >> 2) + ((inBlock - 1) << (g.Where.back() & 3)));
    Entries = keep;
    Last = Stored(keep - 1);
}

void LineIndex::DropFront(std::size_t n)
{
    Bias += std::min(n, Size());
    const std::size_t whole = Bias >> GroupLineShift;
    if (whole > 0) {
        Groups.erase(Groups.begin(), Groups.begin() + static_cast<std::ptrdiff_t>(whole));
        Bias -= whole << GroupLineShift;
        Entries -= whole << GroupLineShift;
    }
}

std::size_t LineIndex::Memory() const
{
    std::size_t bytes = Groups.capacity() * sizeof(Group);
    for (const Group& g : Groups)
        bytes += g.Base.capacity() * sizeof(std::uint64_t) + g.Where.capacity() * sizeof(std::uint32_t) +
                 g.Data.capacity();
    return bytes;
}

}  // namespace tarvex
