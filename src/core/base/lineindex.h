#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvex {

// The start offsets of a text's lines, ascending, in about one byte per line: a log of ten
// gigabytes has some two hundred million lines, and eight bytes each would cost more than the
// machine can spare. Offsets are kept in blocks of 128; a block stores its first offset in full
// and the rest as deltas from the one before, all of one width, the narrowest that holds its
// longest line (1, 2, 4 or 8 bytes). An entry is found by two array look-ups and a sum of at most
// 127 deltas, so any line is reached in constant time. Blocks are grouped so that appending
// never copies more than one group, and dropping lines from the top frees whole groups.
class LineIndex
{
public:
    void Clear();
    // Appends an offset; it must not be below the last one.
    void Push(std::uint64_t offset);
    // Appends first + rel[k] for k < n (a piece's line starts, ascending, in one call: much
    // cheaper than Push for each).
    void PushRun(std::uint64_t first, const std::uint32_t* rel, std::size_t n);
    std::size_t Size() const { return Entries - Bias; }
    bool Empty() const { return Size() == 0; }
    std::uint64_t At(std::size_t i) const;
    // Entries first .. first + count - 1 into out, in one walk (much cheaper than At for each).
    void Decode(std::size_t first, std::size_t count, std::uint64_t* out) const;
    // The number of entries at or below offset (the line holding offset is that minus one).
    std::size_t CountAtOrBelow(std::uint64_t offset) const;
    // Keeps the first n entries.
    void Truncate(std::size_t n);
    // Forgets the first n entries; whole groups are handed back.
    void DropFront(std::size_t n);
    // Bytes held, counting spare capacity.
    std::size_t Memory() const;

private:
    static constexpr unsigned BlockShift = 7;
    static constexpr std::size_t BlockLines = std::size_t{1} << BlockShift;
    static constexpr unsigned GroupShift = 7;  // blocks per group
    static constexpr std::size_t GroupBlocks = std::size_t{1} << GroupShift;
    static constexpr unsigned GroupLineShift = BlockShift + GroupShift;

    struct Group
    {
        std::vector<std::uint64_t> Base;  // each block's first offset
        // Each block's deltas start at Where[b] >> 2 in Data; the low two bits give their width
        // as a power of two.
        std::vector<std::uint32_t> Where;
        std::vector<std::uint8_t> Data;
    };

    std::uint64_t Stored(std::size_t entry) const;
    void Widen(Group& g, unsigned code, std::size_t deltas);

    std::vector<Group> Groups;
    std::size_t Entries = 0;  // stored, counting dropped ones
    std::size_t Bias = 0;     // stored entry of entry 0
    std::uint64_t Last = 0;
};

}  // namespace tarvex
