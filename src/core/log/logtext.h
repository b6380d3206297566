#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/lineindex.h"
#include "platform/bigbuffer.h"

namespace tarvex {

class ByteFinder;
class SharedReadFile;

// A log's text as its raw bytes plus the offsets at which its lines start. Lines are cut
// exactly as LineSplitter cuts them, so line numbers here are the analysis's. Line indexes in
// this class are 0-based; a line's text never holds its terminator.
//
// A text loaded from a file keeps only its line index and a few megabytes of the file's blocks:
// the bytes are read again, with positional reads, when they are painted, searched or copied,
// so a log of ten gigabytes costs about its index. A text given as bytes (Assign), and a file's
// text once edited anywhere but at its top, is held in memory whole.
//
// A string_view this class returns (Line) stays valid until the next call that reads text
// (Line, LineEnd, LineLength, Read, ReadRange, Find, Bytes) or changes it; copy what must live
// longer. The file may shrink under the text: what can no longer be read comes back shorter
// (never past a buffer), and FileShrank() says so from then on.
class LogText
{
public:
    LogText();
    ~LogText();
    LogText(LogText&&) noexcept;
    LogText& operator=(LogText&&) noexcept;
    LogText(const LogText&) = delete;
    LogText& operator=(const LogText&) = delete;

    void Clear();
    // Takes a copy of bytes (which may point into this text); the text is then held in memory.
    void Assign(std::string_view bytes);
    // Told, after each piece read, the bytes read so far and the file's size when the load began;
    // false stops the load. A window lets its events run here, so a log of gigabytes never
    // freezes it.
    using LoadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
    // Indexes the whole file, reading it in large pieces on a second thread while this one
    // indexes, and keeps it open to read its bytes on demand. The file may grow or shrink
    // meanwhile; what was read is what counts. On failure (or when progress stops it) the
    // present text stays and error tells why.
    bool LoadFile(const std::string& path, std::string& error, const LoadProgress& progress = {});
    // Who takes a file's text while it loads: the analysis of a window that opens, so that it
    // runs on this thread while the second one reads and finds the lines.
    struct LoadSink
    {
        // Before the first piece of each reading of the file: one found shorter than what was
        // read of it is read again from its start, and taken afresh.
        std::function<void()> Start;
        // After each piece is indexed, with its bytes (valid during the call): the text then
        // holds the piece's lines.
        std::function<void(std::string_view piece)> Piece;
    };
    // Loads as LoadFile, but into this text itself, which grows piece by piece (a window shows
    // the lines read so far), and hands each piece to sink. A file that cannot be opened leaves
    // the text as it was; a load that fails later, or is stopped, leaves it empty.
    bool LoadFileInPlace(const std::string& path, std::string& error, const LoadProgress& progress,
                         const LoadSink& sink);
    // Adds bytes at the end (a followed log's new bytes) and indexes only them; a last line
    // without its end goes on with the first of them. A text read from a file takes them as the
    // file's next bytes and keeps only their index; a text in memory keeps them, its buffer
    // growing by half again. Throws std::bad_alloc when the memory cannot be had, the text left
    // as it was.
    void Append(std::string_view bytes);

    bool OnDemand() const { return File != nullptr; }
    bool FileShrank() const { return Shrank; }
    // The whole text, copied: for small texts and tests.
    std::string Bytes() const;
    std::size_t ByteCount() const { return Size; }
    std::size_t LineCount() const { return Index.Size(); }
    // Copies the bytes [offset, offset + n) clipped to the text into dst; returns how many came
    // (fewer when the file lost them).
    std::size_t Read(std::size_t offset, char* dst, std::size_t n) const;
    std::string ReadRange(std::size_t begin, std::size_t end) const;
    // Hands [begin, end) to fn in pieces of about piece bytes, in order; from a file the next
    // piece is read on a second thread while fn works on this one. Stops when fn says false
    // (and answers false) or when the file ends early.
    bool ForEachPiece(std::size_t begin, std::size_t end, std::size_t piece,
                      const std::function<bool(std::string_view)>& fn) const;
    // A match of finder's needle (needleSize bytes): the first starting at or after from (down),
    // or the last ending at or before from (up). npos when none. A text read from a file is
    // searched a block at a time, the blocks overlapping by the needle's length less one.
    std::size_t Find(const ByteFinder& finder, std::size_t needleSize, bool down, std::size_t from) const;

    // Out-of-range indexes give the end of the text and an empty line.
    std::size_t LineStart(std::size_t line) const;
    std::size_t LineEnd(std::size_t line) const;        // where the line's text ends
    std::size_t NextLineStart(std::size_t line) const;  // after its terminator
    std::string_view Line(std::size_t line) const;
    std::size_t LineLength(std::size_t line) const { return LineEnd(line) - LineStart(line); }
    // The line holding the byte at offset (the last line for offsets at or past the end).
    std::size_t LineAt(std::size_t offset) const;
    // Length of the longest line, terminator not counted. After a cut at the top of a text
    // read from a file it may count a CR of a CR LF: it only sizes a scroll bar.
    std::size_t MaxLineLength() const { return std::max(MaxLen, OpenLen); }

    // Removes the bytes [begin, end). Removing whole lines from the top moves the bytes once (or,
    // from a file, only skips them) and touches no index entry; any other removal re-indexes from
    // the first line it touches, a text read from a file being taken into memory first.
    void Erase(std::size_t begin, std::size_t end);
    // The file itself lost its first dropped bytes (a cut rewrote it in place): the text drops
    // them too and reads the rest where it now lies. The text's next bytes must be the file's
    // first. A text in memory simply erases them.
    void FileHeadCut(std::size_t dropped);

    // Bytes held by the line index (what the text costs beyond its own bytes).
    std::size_t IndexMemory() const;
    // Bytes held for the text itself: the whole text in memory, or the cache of a file's blocks.
    std::size_t TextMemory() const;

private:
    struct Block;
    void IndexPiece(const char* piece, std::size_t base, std::size_t n);
    // Indexes a piece whose count line feeds lie at lf (offsets in the piece), its longest line
    // between two of them innerMax long.
    void IndexScanned(const char* piece, std::size_t base, std::size_t n, const std::uint32_t* lf, std::size_t count,
                      std::size_t innerMax);
    void TruncateIndex(std::size_t lines);
    void RecomputeMaxLength();
    void FinishEdit();
    void Reallocate(std::size_t capacity);
    std::size_t ContentEnd(std::size_t start, std::size_t rawEnd) const;
    void ToMemory();
    void DropCache() const;
    bool IndexFile(std::size_t limit, std::string& error, const LoadProgress& progress, const std::string& path,
                   const std::function<void(std::string_view)>& eachPiece);
    // A view of [begin, end), from the cache or the scratch buffers; shorter when the file
    // lost bytes.
    std::string_view View(std::size_t begin, std::size_t end) const;
    const Block* CachedBlock(std::uint64_t number) const;
    std::size_t ReadFile(std::uint64_t at, char* dst, std::size_t n) const;

    // The whole text, when held in memory.
    BigBuffer Buf;
    std::size_t Size = 0;
    std::size_t Cap = 0;

    // The file a text read on demand comes from; text offset + FileBase = offset in the file.
    std::unique_ptr<SharedReadFile> File;
    std::uint64_t FileBase = 0;
    mutable std::vector<Block> Cache;
    mutable std::uint64_t Tick = 0;
    mutable std::size_t LastBlock = 0;
    mutable std::string Scratch[2];
    mutable unsigned ScratchTurn = 0;
    mutable bool Shrank = false;

    // Each line's start, as an offset that counts the bytes dropped from the top, so dropping
    // lines touches no entry.
    LineIndex Index;
    std::uint64_t ByteBias = 0;  // stored offset minus ByteBias = offset in the text
    bool PendingStart = true;    // the next byte indexed starts a line
    bool HaveLast = false;
    std::size_t LastStart = 0;
    std::size_t MaxLen = 0;   // of the lines a LF closed
    std::size_t OpenLen = 0;  // of the last line while no LF closes it
    char Before[2] = {0, 0};     // the two bytes before the next piece indexed ([1] the last)
};

}  // namespace tarvex
