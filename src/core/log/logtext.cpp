#include "log/logtext.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "platform/sharedfile.h"

namespace tarvex {

namespace {
// Reads are made in pieces small enough that each is still in cache when it is indexed.
constexpr std::size_t ReadPiece = std::size_t{512} << 10;
// Room for what the mailer appends while the file is read, before the buffer has to grow.
constexpr std::size_t GrowthSlack = std::size_t{64} << 10;
}  // namespace

void LogText::Clear()
{
    Buf = BigBuffer();
    Size = Cap = 0;
    Index.Clear();
    ByteBias = 0;
    PendingStart = true;
    HaveLast = false;
    LastStart = MaxLen = 0;
}

void LogText::Assign(std::string_view bytes)
{
    LogText fresh;
    fresh.Reallocate(bytes.size());
    if (!bytes.empty())
        std::memcpy(fresh.Buf.Data(), bytes.data(), bytes.size());
    fresh.Size = bytes.size();
    fresh.IndexRange(0, fresh.Size);
    *this = std::move(fresh);
}

bool LogText::LoadFile(const std::string& path, std::string& error, const LoadProgress& progress)
{
    SharedReadFile file;
    if (!file.Open(path, error))
        return false;
    LogText fresh;
    try {
        const std::int64_t size = file.Size();
        fresh.Reallocate(size > 0 ? static_cast<std::size_t>(size) + GrowthSlack : GrowthSlack);
        for (;;) {
            if (fresh.Size == fresh.Cap)
                fresh.Reallocate(fresh.Cap + fresh.Cap / 2 + ReadPiece);
            const std::size_t ask = std::min(ReadPiece, fresh.Cap - fresh.Size);
            const std::int64_t got = file.Read(fresh.Buf.Data() + fresh.Size, ask, error);
            if (got < 0)
                return false;
            if (got == 0)
                break;
            const std::size_t lo = fresh.Size;
            fresh.Size += static_cast<std::size_t>(got);
            fresh.IndexRange(lo, fresh.Size);
            if (progress && !progress(fresh.Size, size > 0 ? static_cast<std::uint64_t>(size) : 0)) {
                error = "Loading of " + path + " stopped";
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        error = "Not enough memory to load " + path;
        return false;
    }
    if (fresh.Cap > fresh.Size + 2 * GrowthSlack + fresh.Size / 8)
        fresh.Reallocate(fresh.Size);
    *this = std::move(fresh);
    return true;
}

void LogText::Append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (bytes.size() > Cap - Size)
        Reallocate(std::max(Size + bytes.size(), Cap + Cap / 2 + GrowthSlack));
    std::memcpy(Buf.Data() + Size, bytes.data(), bytes.size());
    const std::size_t lo = Size;
    Size += bytes.size();
    IndexRange(lo, Size);
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
    // Only a LF ends a line, and a CR counts as part of the terminator only right before it.
    if (rawEnd > start && Buf.Data()[rawEnd - 1] == '\n') {
        --rawEnd;
        if (rawEnd > start && Buf.Data()[rawEnd - 1] == '\r')
            --rawEnd;
    }
    return rawEnd;
}

void LogText::Push(std::size_t offset)
{
    if (HaveLast)
        MaxLen = std::max(MaxLen, ContentEnd(LastStart, offset) - LastStart);
    HaveLast = true;
    LastStart = offset;

    Index.Push(offset + ByteBias);
}

void LogText::IndexRange(std::size_t lo, std::size_t hi)
{
    const char* b = Buf.Data();
    if (PendingStart && lo < hi) {
        Push(lo);
        PendingStart = false;
    }
    // A line starts after every LF, unless that LF is the last byte read so far.
    auto lineFeedAt = [&](std::size_t q) {
        if (q + 1 < hi)
            Push(q + 1);
        else
            PendingStart = true;
    };
    std::size_t p = lo;
#if defined(__SSE2__) || defined(_M_X64)
    // Sixteen bytes a step: lines of a log are short, and a call to memchr per line costs more
    // than the search itself.
    const __m128i lf = _mm_set1_epi8('\n');
    for (; p + 16 <= hi; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + p));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        while (mask) {
            lineFeedAt(p + static_cast<std::size_t>(std::countr_zero(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; p < hi; ++p)
        if (b[p] == '\n')
            lineFeedAt(p);
    if (HaveLast)
        MaxLen = std::max(MaxLen, ContentEnd(LastStart, Size) - LastStart);
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
    return ContentEnd(LineStart(line), NextLineStart(line));
}

std::string_view LogText::Line(std::size_t line) const
{
    if (line >= LineCount())
        return {};
    const std::size_t start = LineStart(line);
    return {Buf.Data() + start, LineEnd(line) - start};
}

std::size_t LogText::LineAt(std::size_t offset) const
{
    const std::size_t count = LineCount();
    if (count == 0)
        return 0;
    const std::size_t through = Index.CountAtOrBelow(std::uint64_t{offset} + ByteBias);
    return through ? through - 1 : 0;
}

void LogText::TruncateIndex(std::size_t lines)
{
    Index.Truncate(lines);
    if (Index.Empty())
        ByteBias = 0;
}

void LogText::DropTopLines(std::size_t lines)
{
    Index.DropFront(lines);
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
            MaxLen = std::max(MaxLen, ContentEnd(start, next) - start);
        }
    }
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
    const std::size_t first = LineAt(begin);
    const std::size_t firstStart = LineStart(first);
    if (begin == 0) {
        const std::size_t kept = LineAt(end);
        if (LineStart(kept) == end) {
            std::memmove(Buf.Data(), Buf.Data() + end, Size - end);
            Size -= end;
            ByteBias += end;
            DropTopLines(kept);
            FinishEdit();
            return;
        }
    }
    std::memmove(Buf.Data() + begin, Buf.Data() + end, Size - end);
    Size -= end - begin;
    TruncateIndex(first);
    HaveLast = false;
    PendingStart = true;
    IndexRange(firstStart, Size);
    FinishEdit();
}

void LogText::FinishEdit()
{
    RecomputeMaxLength();
    const std::size_t count = LineCount();
    HaveLast = count > 0;
    LastStart = HaveLast ? LineStart(count - 1) : 0;
    PendingStart = count == 0 || (Size > 0 && Buf.Data()[Size - 1] == '\n');
    // A cut usually keeps a small tail of a big log: give the rest back.
    if (Cap > (std::size_t{1} << 20) && Size < Cap / 2)
        Reallocate(Size);
}

std::size_t LogText::IndexMemory() const
{
    return Index.Memory();
}

}  // namespace tarvex
