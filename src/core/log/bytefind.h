#pragma once
#include <array>
#include <cstddef>
#include <string_view>

namespace tarvex {

// Maps every byte to the byte it matches without regard to case. Which bytes are letters
// depends on the code page, so the caller builds the table; AsciiFold() knows only A..Z.
using ByteFold = std::array<unsigned char, 256>;
const ByteFold& AsciiFold();

// A literal byte search over a log's raw bytes, prepared once and run many times.
// With a fold table the search ignores case as that table says; without, bytes match exactly.
class ByteFinder
{
public:
    // sample: some of the text to be searched; it tells which needle byte is rarest, the one
    // the search scans for. The fold table, when given, must outlive the finder.
    ByteFinder(std::string_view needle, const ByteFold* fold, std::string_view sample = {});

    // First match starting at or after from; npos when none (and for an empty needle).
    std::size_t Forward(std::string_view hay, std::size_t from) const;
    // Last match that ends at or before end; npos when none.
    std::size_t Backward(std::string_view hay, std::size_t end) const;

    static constexpr std::size_t npos = std::string_view::npos;

private:
    std::size_t ForwardAnchored(std::string_view hay, std::size_t from) const;
    std::size_t ForwardHorspool(std::string_view hay, std::size_t from) const;
    bool MatchAt(const unsigned char* p) const;

    std::string_view Needle;
    const ByteFold* Fold;
    std::array<unsigned char, 256> Folded{};  // the fold table, or identity
    std::array<std::size_t, 256> Skip{};      // Horspool shift per folded byte
    std::size_t Anchor = 0;                   // needle index scanned for by memchr
    bool UseAnchor = false;
};

}  // namespace tarvex
