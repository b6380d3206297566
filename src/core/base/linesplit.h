#pragma once
#include <bit>
#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace tarvex {

// How a log is cut into lines, in one place, so that the viewer and the analysis pass always
// agree on line numbers: a line ends at LF; a CR right before that LF belongs to the terminator;
// a lone CR is an ordinary byte of the line. Empty lines count. A final line without a
// terminator is a line; a text that ends with LF has no empty line after it.
class LineSplitter
{
public:
    explicit LineSplitter(std::string_view text) : Text(text) {}

    // Gives the next line without its terminator; false at the end of the text.
    bool Next(std::string_view& line)
    {
        if (Pos >= Text.size())
            return false;
        const char* begin = Text.data() + Pos;
        const std::size_t rest = Text.size() - Pos;
        const char* lf = FindLF(begin, rest);
        std::size_t len = lf ? static_cast<std::size_t>(lf - begin) : rest;
        Pos += lf ? len + 1 : len;
        if (lf && len > 0 && begin[len - 1] == '\r')
            --len;
        line = std::string_view(begin, len);
        return true;
    }

    // Byte offset of the next line's start in the text.
    std::size_t Offset() const { return Pos; }

private:
    // The first LF of n bytes at p, or nullptr. Log lines are short: sixteen bytes are tested
    // at a time inline, where a library call would cost more than the search.
    static const char* FindLF(const char* p, std::size_t n)
    {
#if defined(__SSE2__) || defined(_M_X64)
        const __m128i lf = _mm_set1_epi8('\n');
        while (n >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
            if (mask != 0)
                return p + std::countr_zero(mask);
            p += 16;
            n -= 16;
        }
#endif
        return static_cast<const char*>(std::memchr(p, '\n', n));
    }

    std::string_view Text;
    std::size_t Pos = 0;
};

// Strips the line terminator (LF or CR LF) from a raw line that still holds it.
inline std::string_view StripTerminator(std::string_view raw)
{
    if (!raw.empty() && raw.back() == '\n') {
        raw.remove_suffix(1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
    }
    return raw;
}

}  // namespace tarvex
