#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

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
        const void* lf = std::memchr(begin, '\n', rest);
        std::size_t len = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : rest;
        Pos += lf ? len + 1 : len;
        if (lf && len > 0 && begin[len - 1] == '\r')
            --len;
        line = std::string_view(begin, len);
        return true;
    }

    // Byte offset of the next line's start in the text.
    std::size_t Offset() const { return Pos; }

private:
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
