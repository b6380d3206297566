#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex {

// Log text is in the DOS or Windows code page of the mailer's system. Only the front ends decode
// it, for display; the command line's UTF-8 reports read it through the system's own converters
// (iconv on POSIX, MultiByteToWideChar on Windows), so that it takes the names the window takes.

// How a code page reads bytes 128..255 (0..127 are ASCII in every page we accept).
struct TCodePage {
    bool Utf8 = false;                 // UTF-8 itself: the bytes are the text already
    std::array<char16_t, 128> Upper{};  // a single-byte page: the character of byte 128 + i;
                                        // U+FFFD where the page defines none
};

// The code page of a name the system's converter knows ("IBM866", "cp866", "KOI8-R",
// "windows-1251", "UTF-8", any case). Empty, with the reason in *error, for an unknown name and
// for pages that cannot be read byte for byte (several bytes per character other than UTF-8, or
// no ASCII in the lower half), whose characters a report cell could not cut by bytes.
std::optional<TCodePage> FindCodePage(std::string_view name, std::string* error = nullptr);

}  // namespace tarvex
