#include "log/logtext.h"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "log/bytefind.h"
#include "log/readahead.h"
#include "platform/sharedfile.h"

namespace tarvex {

namespace {
// Reads are made in pieces small enough that each is still in cache when it is indexed.
constexpr std::size_t ReadPiece = std::size_t{512} << 10;
// Room for what the mailer appends while the file is read, before the buffer has to grow.
constexpr std::size_t GrowthSlack = std::size_t{64} << 10;
// The file's blocks kept for painting and the colouring questions: a screen of lines lies in
// one or two blocks, and 4 MB keep a few screens around the one shown.
constexpr std::size_t BlockSize = std::size_t{64} << 10;
constexpr std::size_t CacheBlocks = 64;
// A search reads the file in pieces of this size, overlapping by the needle's length less one.
constexpr std::size_t FindPiece = std::size_t{4} << 20;

// A line's text within its raw bytes: only a LF ends a line, and a CR counts as part of the
// terminator only right before it.
std::string_view TrimTerminator(std::string_view raw)
{
    if (!raw.empty() && raw.back() == '\n') {
        raw.remove_suffix(1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
    }
    return raw;
}
}  // namespace

struct LogText::Block
{
    std::uint64_t Number = 0;  // file offset / BlockSize
    std::size_t Len = 0;
    std::uint64_t Used = 0;
    std::unique_ptr<char[]> Data;
};

LogText::LogText() = default;
LogText::~LogText() = default;
LogText::LogText(LogText&&) noexcept = default;
LogText& LogText::operator=(LogText&&) noexcept = default;

void LogText::Clear()
{
    Buf = BigBuffer();
    Size = Cap = 0;
    File.reset();
    FileBase = 0;
    DropCache();
    Shrank = false;
    Index.Clear();
    ByteBias = 0;
    PendingStart = true;
    HaveLast = false;
    LastStart = MaxLen = 0;
    Before[0] = Before[1] = 0;
}

void LogText::Assign(std::string_view bytes)
{
    LogText fresh;
    fresh.Reallocate(bytes.size());
    if (!bytes.empty())
        std::memcpy(fresh.Buf.Data(), bytes.data(), bytes.size());
    fresh.Size = bytes.size();
    fresh.IndexPiece(fresh.Buf.Data(), 0, fresh.Size);
    *this = std::move(fresh);
}

bool LogText::LoadFile(const std::string& path, std::string& error, const LoadProgress& progress)
{
    auto file = std::make_unique<SharedReadFile>();
    if (!file->Open(path, error))
        return false;
    // A file found shorter than what was read of it was cut or rewritten meanwhile: the bytes
    // indexed are no longer there to be shown, so it is read again, as a follower would.
    for (int attempt = 0;; ++attempt) {
        LogText fresh;
        fresh.File = std::move(file);
        if (!fresh.IndexFile(std::string::npos, error, progress, path))
            return false;
        const std::int64_t now = fresh.File->Size();
        if (now >= 0 && static_cast<std::uint64_t>(now) < fresh.Size && attempt < 3) {
            file = std::move(fresh.File);
            continue;
        }
        *this = std::move(fresh);
        return true;
    }
}

bool LogText::IndexFile(std::size_t limit, std::string& error, const LoadProgress& progress, const std::string& path)
{
    const std::int64_t size = File->Size();
    const std::uint64_t total = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    ReadAhead reader(*File, 0, limit == std::string::npos ? UINT64_MAX : limit, ReadPiece);
    for (;;) {
        const char* data = nullptr;
        const std::int64_t got = reader.Next(data, error);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const std::size_t lo = Size;
        Size += static_cast<std::size_t>(got);
        IndexPiece(data, lo, static_cast<std::size_t>(got));
        if (progress && !progress(Size, total)) {
            error = "Loading of " + path + " stopped";
            return false;
        }
    }
    return true;
}

void LogText::Append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (OnDemand()) {
        // The bytes are the file's; only their places are kept. A cached block that ended at the
        // old end is read again when asked for more.
        const std::size_t lo = Size;
        Size += bytes.size();
        IndexPiece(bytes.data(), lo, bytes.size());
        return;
    }
    if (bytes.size() > Cap - Size)
        Reallocate(std::max(Size + bytes.size(), Cap + Cap / 2 + GrowthSlack));
    std::memcpy(Buf.Data() + Size, bytes.data(), bytes.size());
    const std::size_t lo = Size;
    Size += bytes.size();
    IndexPiece(Buf.Data() + lo, lo, bytes.size());
}

void LogText::Reallocate(std::size_t capacity)
{
    BigBuffer fresh(capacity);
    if (Size)
        std::memcpy(fresh.Data(), Buf.Data(), Size);
    Buf = std::move(fresh);
    Cap = capacity;
}

std::size_t LogText::ContentEnd(std::size_t start, std::size_t rawEnd) const
{
    return start + TrimTerminator({Buf.Data() + start, rawEnd - start}).size();
}

void LogText::Push(std::size_t offset, const char* piece, std::size_t base)
{
    if (HaveLast) {
        // offset - 1 is the LF just found; the byte before it may lie in the piece before.
        std::size_t end = offset - 1;
        if (end > LastStart) {
            const char before = end > base ? piece[end - 1 - base] : Before[1];
            if (before == '\r')
                --end;
        }
        MaxLen = std::max(MaxLen, end - LastStart);
    }
    HaveLast = true;
    LastStart = offset;
    Index.Push(offset + ByteBias);
}

void LogText::IndexPiece(const char* b, std::size_t base, std::size_t n)
{
    const std::size_t hi = base + n;
    if (PendingStart && n > 0) {
        Push(base, b, base);
        PendingStart = false;
    }
    // A line starts after every LF, unless that LF is the last byte read so far.
    auto lineFeedAt = [&](std::size_t q) {
        if (q + 1 < n)
            Push(base + q + 1, b, base);
        else
            PendingStart = true;
    };
    std::size_t p = 0;
#if defined(__SSE2__) || defined(_M_X64)
    // Sixteen bytes a step: lines of a log are short, and a call to memchr per line costs more
    // than the search itself.
    const __m128i lf = _mm_set1_epi8('\n');
    for (; p + 16 <= n; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + p));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        while (mask) {
            lineFeedAt(p + static_cast<std::size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; p < n; ++p)
        if (b[p] == '\n')
            lineFeedAt(p);
    if (n >= 2) {
        Before[0] = b[n - 2];
        Before[1] = b[n - 1];
    } else if (n == 1) {
        Before[0] = Before[1];
        Before[1] = b[0];
    }
    if (HaveLast && hi > LastStart) {
        // The last line so far, closed at the end of the text.
        std::size_t end = hi;
        if (end > LastStart && Before[1] == '\n') {
            --end;
            if (end > LastStart && Before[0] == '\r')
                --end;
        }
        MaxLen = std::max(MaxLen, end - LastStart);
    }
}

std::size_t LogText::LineStart(std::size_t line) const
{
    if (line >= LineCount())
        return Size;
    return static_cast<std::size_t>(Index.At(line) - ByteBias);
}

std::size_t LogText::NextLineStart(std::size_t line) const
{
    return line + 1 >= LineCount() ? Size : LineStart(line + 1);
}

std::size_t LogText::LineEnd(std::size_t line) const
{
    if (line >= LineCount())
        return Size;
    const std::size_t start = LineStart(line);
    if (OnDemand())
        return start + Line(line).size();
    return ContentEnd(start, NextLineStart(line));
}

std::string_view LogText::Line(std::size_t line) const
{
    if (line >= LineCount())
        return {};
    const std::size_t start = LineStart(line);
    const std::size_t next = NextLineStart(line);
    if (!OnDemand())
        return {Buf.Data() + start, ContentEnd(start, next) - start};
    return TrimTerminator(View(start, next));
}

std::size_t LogText::LineAt(std::size_t offset) const
{
    const std::size_t count = LineCount();
    if (count == 0)
        return 0;
    const std::size_t through = Index.CountAtOrBelow(std::uint64_t{offset} + ByteBias);
    return through ? through - 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Reading

void LogText::DropCache() const
{
    Cache.clear();
    for (std::string& s : Scratch)
        std::string().swap(s);
}

std::size_t LogText::ReadFile(std::uint64_t at, char* dst, std::size_t n) const
{
    std::size_t done = 0;
    std::string error;
    while (done < n) {
        const std::int64_t got = File->ReadAt(at + done, dst + done, n - done, error);
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

const LogText::Block* LogText::CachedBlock(std::uint64_t number) const
{
    // The painter asks for line after line: mostly of the block asked for last.
    Block* slot = nullptr;
    if (LastBlock < Cache.size() && Cache[LastBlock].Number == number)
        slot = &Cache[LastBlock];
    else
        for (Block& b : Cache)
            if (b.Number == number) {
                slot = &b;
                break;
            }
    // A block that ended short was the end of the file then; the file may have grown since.
    if (slot && slot->Len == BlockSize) {
        slot->Used = ++Tick;
        LastBlock = static_cast<std::size_t>(slot - Cache.data());
        return slot;
    }
    if (!slot) {
        if (Cache.size() < CacheBlocks) {
            Cache.emplace_back();
            slot = &Cache.back();
            slot->Data = std::make_unique<char[]>(BlockSize);
        } else {
            slot = &*std::min_element(Cache.begin(), Cache.end(),
                                      [](const Block& a, const Block& b) { return a.Used < b.Used; });
        }
    }
    slot->Number = number;
    slot->Used = ++Tick;
    slot->Len = ReadFile(number * BlockSize, slot->Data.get(), BlockSize);
    LastBlock = static_cast<std::size_t>(slot - Cache.data());
    return slot;
}

std::string_view LogText::View(std::size_t begin, std::size_t end) const
{
    end = std::min(end, Size);
    if (begin >= end)
        return {};
    if (!OnDemand())
        return {Buf.Data() + begin, end - begin};
    const std::uint64_t fb = begin + FileBase;
    const std::uint64_t fe = end + FileBase;
    const std::uint64_t first = fb / BlockSize;
    if (first == (fe - 1) / BlockSize) {
        const Block* b = CachedBlock(first);
        const auto off = static_cast<std::size_t>(fb - first * BlockSize);
        const std::size_t want = end - begin;
        const std::size_t have = b->Len > off ? std::min(b->Len - off, want) : 0;
        if (have < want)
            Shrank = true;
        return {b->Data.get() + off, have};
    }
    std::string& s = Scratch[ScratchTurn ^= 1u];
    s.resize(end - begin);
    s.resize(Read(begin, s.data(), end - begin));
    return s;
}

std::size_t LogText::Read(std::size_t offset, char* dst, std::size_t n) const
{
    if (offset >= Size)
        return 0;
    n = std::min(n, Size - offset);
    if (!OnDemand()) {
        std::memcpy(dst, Buf.Data() + offset, n);
        return n;
    }
    std::size_t done = 0;
    if (n <= 2 * BlockSize) {
        // Short reads go through the cache: the painter asks for neighbouring lines.
        while (done < n) {
            const std::uint64_t at = offset + done + FileBase;
            const Block* b = CachedBlock(at / BlockSize);
            const auto off = static_cast<std::size_t>(at % BlockSize);
            if (b->Len <= off)
                break;
            const std::size_t k = std::min(b->Len - off, n - done);
            std::memcpy(dst + done, b->Data.get() + off, k);
            done += k;
        }
    } else {
        done = ReadFile(offset + FileBase, dst, n);
    }
    if (done < n)
        Shrank = true;
    return done;
}

std::string LogText::ReadRange(std::size_t begin, std::size_t end) const
{
    end = std::min(end, Size);
    if (begin >= end)
        return {};
    std::string s(end - begin, '\0');
    s.resize(Read(begin, s.data(), s.size()));
    return s;
}

std::string LogText::Bytes() const
{
    return ReadRange(0, Size);
}

bool LogText::ForEachPiece(std::size_t begin, std::size_t end, std::size_t piece,
                           const std::function<bool(std::string_view)>& fn) const
{
    end = std::min(end, Size);
    piece = std::max<std::size_t>(piece, 1);
    if (!OnDemand()) {
        for (std::size_t at = begin; at < end; at += piece)
            if (!fn({Buf.Data() + at, std::min(piece, end - at)}))
                return false;
        return true;
    }
    if (begin >= end)
        return true;
    ReadAhead reader(*File, begin + FileBase, end + FileBase, piece);
    std::size_t at = begin;
    std::string error;
    while (at < end) {
        const char* data = nullptr;
        const std::int64_t got = reader.Next(data, error);
        if (got <= 0) {
            Shrank = true;
            return false;
        }
        at += static_cast<std::size_t>(got);
        if (!fn({data, static_cast<std::size_t>(got)}))
            return false;
    }
    return true;
}

std::size_t LogText::Find(const ByteFinder& finder, std::size_t needleSize, bool down, std::size_t from) const
{
    if (needleSize == 0 || needleSize > Size)
        return ByteFinder::npos;
    if (!OnDemand()) {
        const std::string_view hay(Buf.Data(), Size);
        return down ? finder.Forward(hay, from) : finder.Backward(hay, std::min(from, Size));
    }
    std::string window;
    if (down) {
        // Each piece is searched where it lies; a match across the border with the piece before
        // starts in that piece's last needleSize - 1 bytes, searched with the new piece's first.
        std::size_t pieceStart = from;
        std::size_t found = ByteFinder::npos;
        (void)ForEachPiece(from, Size, FindPiece, [&](std::string_view piece) {
            if (!window.empty()) {
                const std::size_t tail = window.size();
                window.append(piece.substr(0, needleSize - 1));
                const std::size_t at = finder.Forward(window, 0);
                if (at != ByteFinder::npos && at < tail) {
                    found = pieceStart - tail + at;
                    return false;
                }
                window.resize(tail);
            }
            const std::size_t at = finder.Forward(piece, 0);
            if (at != ByteFinder::npos) {
                found = pieceStart + at;
                return false;
            }
            window.append(piece);
            if (window.size() > needleSize - 1)
                window.erase(0, window.size() - (needleSize - 1));
            pieceStart += piece.size();
            return true;
        });
        return found;
    }
    // Up: pieces from the end back, each with the needle's length less one of the one after it.
    std::size_t pieceEnd = std::min(from, Size);
    while (pieceEnd > 0) {
        const std::size_t pieceBegin = pieceEnd > FindPiece ? pieceEnd - FindPiece : 0;
        const std::size_t readEnd = std::min(std::min(from, Size), pieceEnd + needleSize - 1);
        window.resize(readEnd - pieceBegin);
        window.resize(Read(pieceBegin, window.data(), window.size()));
        const std::size_t at = finder.Backward(window, window.size());
        if (at != ByteFinder::npos)
            return pieceBegin + at;
        pieceEnd = pieceBegin;
    }
    return ByteFinder::npos;
}

// ---------------------------------------------------------------------------------------------
// Edits

void LogText::TruncateIndex(std::size_t lines)
{
    Index.Truncate(lines);
    if (Index.Empty())
        ByteBias = 0;
}

void LogText::RecomputeMaxLength()
{
    MaxLen = 0;
    const std::size_t count = LineCount();
    // The starts in runs, one walk of the index each, and one more to close the last line.
    std::uint64_t starts[1025];
    for (std::size_t i = 0; i < count; i += 1024) {
        const std::size_t n = std::min<std::size_t>(1024, count - i);
        Index.Decode(i, n, starts);
        starts[n] = i + n < count ? Index.At(i + n) : std::uint64_t{Size} + ByteBias;
        for (std::size_t k = 0; k < n; ++k) {
            const auto start = static_cast<std::size_t>(starts[k] - ByteBias);
            const auto next = static_cast<std::size_t>(starts[k + 1] - ByteBias);
            // From a file only the places are at hand: every line but the last ends with a LF,
            // which is not counted; a CR before it may be.
            const std::size_t len = OnDemand() ? (i + k + 1 < count ? next - start - 1 : Line(count - 1).size())
                                               : ContentEnd(start, next) - start;
            MaxLen = std::max(MaxLen, len);
        }
    }
}

void LogText::ToMemory()
{
    const std::string all = Bytes();
    Assign(all);
}

void LogText::Erase(std::size_t begin, std::size_t end)
{
    end = std::min(end, Size);
    if (begin >= end)
        return;
    if (begin == 0 && end == Size) {
        Clear();
        return;
    }
    if (begin == 0) {
        const std::size_t kept = LineAt(end);
        if (LineStart(kept) == end) {
            if (OnDemand()) {
                FileBase += end;
            } else {
                std::memmove(Buf.Data(), Buf.Data() + end, Size - end);
            }
            Size -= end;
            ByteBias += end;
            Index.DropFront(kept);
            FinishEdit();
            return;
        }
    }
    if (OnDemand())
        ToMemory();
    const std::size_t first = LineAt(begin);
    const std::size_t firstStart = LineStart(first);
    std::memmove(Buf.Data() + begin, Buf.Data() + end, Size - end);
    Size -= end - begin;
    TruncateIndex(first);
    HaveLast = false;
    PendingStart = true;
    Before[0] = firstStart >= 2 ? Buf.Data()[firstStart - 2] : '\0';
    Before[1] = firstStart >= 1 ? Buf.Data()[firstStart - 1] : '\0';
    IndexPiece(Buf.Data() + firstStart, firstStart, Size - firstStart);
    FinishEdit();
}

void LogText::FileHeadCut(std::size_t dropped)
{
    if (!OnDemand()) {
        Erase(0, dropped);
        return;
    }
    DropCache();
    dropped = std::min(dropped, Size);
    if (dropped == 0)
        return;
    const std::size_t kept = LineAt(dropped);
    if (FileBase == 0 && dropped < Size && LineStart(kept) == dropped) {
        Size -= dropped;
        ByteBias += dropped;
        Index.DropFront(kept);
        FinishEdit();
        return;
    }
    // A cut inside a line: the text is indexed again from the file's new start.
    LogText fresh;
    fresh.File = std::move(File);
    std::string error;
    (void)fresh.IndexFile(Size - dropped, error, {}, {});
    *this = std::move(fresh);
}

void LogText::FinishEdit()
{
    RecomputeMaxLength();
    const std::size_t count = LineCount();
    HaveLast = count > 0;
    LastStart = HaveLast ? LineStart(count - 1) : 0;
    if (!OnDemand()) {
        Before[0] = Size >= 2 ? Buf.Data()[Size - 2] : '\0';
        Before[1] = Size >= 1 ? Buf.Data()[Size - 1] : '\0';
    }
    PendingStart = count == 0 || (Size > 0 && Before[1] == '\n');
    // A cut usually keeps a small tail of a big log: give the rest back.
    if (!OnDemand() && Cap > (std::size_t{1} << 20) && Size < Cap / 2)
        Reallocate(Size);
}

std::size_t LogText::IndexMemory() const
{
    return Index.Memory();
}

std::size_t LogText::TextMemory() const
{
    if (!OnDemand())
        return Cap;
    return Cache.size() * BlockSize + Scratch[0].capacity() + Scratch[1].capacity();
}

}  // namespace tarvex
