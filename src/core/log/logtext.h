#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/lineindex.h"
#include "platform/bigbuffer.h"

namespace tarvex {

// A log's text as its raw bytes in one buffer, plus the offsets at which its lines start.
// Lines are cut exactly as LineSplitter cuts them, so line numbers here are the analysis's.
// Line indexes in this class are 0-based; a line's text never holds its terminator.
class LogText
{
public:
    LogText() = default;
    LogText(LogText&&) noexcept = default;
    LogText& operator=(LogText&&) noexcept = default;
    LogText(const LogText&) = delete;
    LogText& operator=(const LogText&) = delete;

    void Clear();
    // Takes a copy of bytes (which may point into this text).
    void Assign(std::string_view bytes);
    // Told, after each piece read, the bytes read so far and the file's size when the load began;
    // false stops the load. A window lets its events run here, so a log of gigabytes never
    // freezes it.
    using LoadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
    // Reads the whole file with ordinary reads; the file may grow or shrink meanwhile, and what
    // was read is what counts. On failure (or when progress stops it) the present text stays
    // and error tells why.
    bool LoadFile(const std::string& path, std::string& error, const LoadProgress& progress = {});
    // Adds bytes at the end (a followed log's new bytes) and indexes only them; a last line
    // without its end goes on with the first of them. The buffer grows by half again, so a
    // log that grows by a line at a time is not copied for each. Throws std::bad_alloc when
    // the memory cannot be had, the text left as it was.
    void Append(std::string_view bytes);

    std::string_view Bytes() const { return {Buf.Data(), Size}; }
    std::size_t ByteCount() const { return Size; }
    std::size_t LineCount() const { return Index.Size(); }

    // Out-of-range indexes give the end of the text and an empty line.
    std::size_t LineStart(std::size_t line) const;
    std::size_t LineEnd(std::size_t line) const;        // where the line's text ends
    std::size_t NextLineStart(std::size_t line) const;  // after its terminator
    std::string_view Line(std::size_t line) const;
    std::size_t LineLength(std::size_t line) const { return LineEnd(line) - LineStart(line); }
    // The line holding the byte at offset (the last line for offsets at or past the end).
    std::size_t LineAt(std::size_t offset) const;
    // Length of the longest line, terminator not counted.
    std::size_t MaxLineLength() const { return MaxLen; }

    // Removes the bytes [begin, end). Removing whole lines from the top moves the bytes once and
    // touches no index entry; any other removal re-indexes from the first line it touches.
    void Erase(std::size_t begin, std::size_t end);

    // Bytes held by the line index (what the text costs beyond its own bytes).
    std::size_t IndexMemory() const;

private:
    void Push(std::size_t offset);
    void IndexRange(std::size_t lo, std::size_t hi);
    void TruncateIndex(std::size_t lines);
    void DropTopLines(std::size_t lines);
    void RecomputeMaxLength();
    void FinishEdit();
    void Reallocate(std::size_t capacity);
    std::size_t ContentEnd(std::size_t start, std::size_t rawEnd) const;

    BigBuffer Buf;
    std::size_t Size = 0;
    std::size_t Cap = 0;

    // Each line's start, as an offset that counts the bytes dropped from the top, so dropping
    // lines touches no entry.
    LineIndex Index;
    std::uint64_t ByteBias = 0;  // stored offset minus ByteBias = offset in Buf
    bool PendingStart = true;    // the next byte indexed starts a line
    bool HaveLast = false;
    std::size_t LastStart = 0;
    std::size_t MaxLen = 0;
};

}  // namespace tarvex
