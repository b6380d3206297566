#include "log/logtext.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

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

// A text indexed from memory is scanned for its line feeds in pieces of this size.
constexpr std::size_t ScanPiece = std::size_t{64} << 10;

// Where a piece's LFs lie, found apart from the index in two steps: first a bit for each byte
// that is a LF (a mask for each 64 bytes), then the offsets of those bits. A file's pieces take
// the first step on the thread that reads them, while the bytes are still in its core's cache,
// and the second on the one that indexes them; that balances the two threads. A line's start
// depends only on the bytes before it, so pieces are scanned each on its own.
struct LineFeeds
{
    std::unique_ptr<std::uint64_t[]> Masks;
    std::size_t MaskRoom = 0;
    std::unique_ptr<std::uint32_t[]> At;  // offsets in the piece, ascending
    std::size_t Count = 0;
    std::size_t Room = 0;
    // The longest line lying wholly in the piece, from after one of its LFs up to the next.
    std::size_t InnerMax = 0;

    void FindMasks(const char* b, std::size_t n)
    {
        const std::size_t words = (n + 63) / 64;
        if (MaskRoom < words) {
            Masks.reset(new std::uint64_t[words]);
            MaskRoom = words;
        }
        std::uint64_t* out = Masks.get();
        std::size_t p = 0;
#if defined(__SSE2__) || defined(_M_X64)
        const __m128i lf = _mm_set1_epi8('\n');
        auto maskOf = [&](std::size_t at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf))));
        };
        for (; p + 64 <= n; p += 64)
            *out++ = maskOf(p) | maskOf(p + 16) << 16 | maskOf(p + 32) << 32 | maskOf(p + 48) << 48;
#endif
        while (p < n) {
            std::uint64_t mask = 0;
            for (std::size_t k = 0; k < 64 && p + k < n; ++k)
                mask |= std::uint64_t{b[p + k] == '\n'} << k;
            *out++ = mask;
            p += 64;
        }
    }

    void FindOffsets(const char* b, std::size_t n)
    {
        // Room for four offsets written past the last, so the loop below never branches on how
        // many a word holds; never touched beyond what is written, so a piece of few lines costs
        // few pages.
        if (Room < n + 4) {
            At.reset(new std::uint32_t[n + 4]);
            Room = n + 4;
        }
        std::uint32_t* out = At.get();
        const std::uint64_t* masks = Masks.get();
        std::size_t c = 0;
        // A log's lines are about 64 bytes long: a word holds one or two LFs, and the first four
        // places are written whether there or not.
        for (std::size_t w = 0, words = (n + 63) / 64; w < words; ++w) {
            std::uint64_t mask = masks[w];
            const std::size_t p = w * 64;
            std::size_t found = 0;
            for (int k = 0; k < 4; ++k) {
                found += mask != 0;
                out[c + static_cast<std::size_t>(k)] =
                    static_cast<std::uint32_t>(p + static_cast<std::size_t>(std::countr_zero(mask)));
                mask &= mask - 1;
            }
            c += found;
            for (; mask; mask &= mask - 1)
                out[c++] = static_cast<std::uint32_t>(p + static_cast<std::size_t>(std::countr_zero(mask)));
        }
        Count = c;
        // The lines between two LFs, first by their places alone, CR counted; a CR counts as part
        // of the terminator only right before the LF, so the longest is that long or one less,
        // and only the lines of that length are looked at again.
        std::size_t raw = 0;
        for (std::size_t k = 1; k < c; ++k)
            raw = std::max<std::size_t>(raw, out[k] - out[k - 1] - 1);
        std::size_t widest = 0;
        if (raw > 0) {
            widest = raw - 1;
            for (std::size_t k = 1; k < c; ++k)
                if (out[k] - out[k - 1] - 1 == raw && b[out[k] - 1] != '\r') {
                    widest = raw;
                    break;
                }
        }
        InnerMax = widest;
    }
};

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
    LastStart = MaxLen = OpenLen = 0;
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
        if (!fresh.IndexFile(std::string::npos, error, progress, path, {}))
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

bool LogText::LoadFileInPlace(const std::string& path, std::string& error, const LoadProgress& progress,
                              const LoadSink& sink)
{
    auto file = std::make_unique<SharedReadFile>();
    if (!file->Open(path, error))
        return false;
    for (int attempt = 0;; ++attempt) {
        Clear();
        File = std::move(file);
        if (sink.Start)
            sink.Start();
        if (!IndexFile(std::string::npos, error, progress, path, sink.Piece)) {
            Clear();
            return false;
        }
        // Found shorter than what was read: read again, and the sink takes the text afresh.
        const std::int64_t now = File->Size();
        if (now >= 0 && static_cast<std::uint64_t>(now) < Size && attempt < 3) {
            file = std::move(File);
            continue;
        }
        return true;
    }
}

bool LogText::IndexFile(std::size_t limit, std::string& error, const LoadProgress& progress, const std::string& path,
                        const std::function<void(std::string_view)>& eachPiece)
{
    const std::int64_t size = File->Size();
    const std::uint64_t total = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    // The reading thread finds the line feeds of each piece; this one only adds them to the index.
    LineFeeds found[ReadAhead::Ring];
    ReadAhead reader(*File, 0, limit == std::string::npos ? UINT64_MAX : limit, ReadPiece,
                     [&found](std::size_t place, const char* data, std::size_t n) { found[place].FindMasks(data, n); });
    for (;;) {
        const char* data = nullptr;
        std::size_t place = 0;
        const std::int64_t got = reader.Next(data, error, &place);
        LineFeeds* feeds = &found[place];
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const std::size_t lo = Size;
        const auto n = static_cast<std::size_t>(got);
        Size += n;
        feeds->FindOffsets(data, n);
        IndexScanned(data, lo, n, feeds->At.get(), feeds->Count, feeds->InnerMax);
        if (eachPiece)
            eachPiece({data, n});
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

void LogText::IndexPiece(const char* b, std::size_t base, std::size_t n)
{
    LineFeeds feeds;
    for (std::size_t at = 0; at < n; at += ScanPiece) {
        const std::size_t len = std::min(ScanPiece, n - at);
        feeds.FindMasks(b + at, len);
        feeds.FindOffsets(b + at, len);
        IndexScanned(b + at, base + at, len, feeds.At.get(), feeds.Count, feeds.InnerMax);
    }
}

void LogText::IndexScanned(const char* b, std::size_t base, std::size_t n, const std::uint32_t* lf, std::size_t count,
                           std::size_t innerMax)
{
    if (n == 0)
        return;
    const std::size_t hi = base + n;
    if (PendingStart) {
        // The line before ended with the last byte indexed, and was measured then.
        Index.Push(base + ByteBias);
        HaveLast = true;
        LastStart = base;
        PendingStart = false;
    }
    if (count > 0) {
        // The first LF ends the line going on from before it; the byte before that LF may lie in
        // the piece before.
        std::size_t end = base + lf[0];
        if (end > LastStart && (lf[0] > 0 ? b[lf[0] - 1] : Before[1]) == '\r')
            --end;
        MaxLen = std::max({MaxLen, end - LastStart, innerMax});
        OpenLen = 0;
        // A line starts after every LF, unless that LF is the last byte read so far.
        if (lf[count - 1] + std::size_t{1} == n) {
            --count;
            PendingStart = true;
        }
        if (count > 0) {
            Index.PushRun(std::uint64_t{base} + 1 + ByteBias, lf, count);
            LastStart = base + 1 + lf[count - 1];
        }
    }
    if (n >= 2) {
        Before[0] = b[n - 2];
        Before[1] = b[n - 1];
    } else {
        Before[0] = Before[1];
        Before[1] = b[0];
    }
    // The last line so far, if it has no LF yet, as long as it would be if the text ended here:
    // its CR at the end would count, unless a LF comes next.
    OpenLen = PendingStart ? 0 : hi - LastStart;
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
            // Only the piece's last needleSize - 1 bytes are kept for the border: copying a
            // whole piece to drop most of it cost as much as the search.
            if (piece.size() >= needleSize - 1) {
                window.assign(piece.substr(piece.size() - (needleSize - 1)));
            } else {
                window.append(piece);
                if (window.size() > needleSize - 1)
                    window.erase(0, window.size() - (needleSize - 1));
            }
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
    MaxLen = OpenLen = 0;
    const std::size_t count = LineCount();
    // A last line without its LF may yet get one, after a CR that then no longer counts.
    const bool lastOpen = count > 0 && ReadRange(Size - 1, Size) != "\n";
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
            if (i + k + 1 == count && lastOpen)
                OpenLen = len;
            else
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
    (void)fresh.IndexFile(Size - dropped, error, {}, {}, {});
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
