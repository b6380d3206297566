#include "platform/codepage.h"

#include <algorithm>
#include <cctype>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace tarvex {

namespace {

std::string Trimmed(std::string_view name)
{
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsUtf8Name(const std::string& upper) { return upper == "UTF-8" || upper == "UTF8"; }

constexpr char16_t kReplacement = 0xFFFD;

#ifdef _WIN32

// The Windows code page number of a name: "cp866", "IBM866", "windows-1251", "866", or one of
// the names that carry no number. The pages of several bytes per character are named too, so
// that they are refused as such rather than as unknown, as iconv refuses them.
unsigned CodePageNumber(const std::string& upper)
{
    struct TNamed { const char* Name; unsigned Number; };
    static const TNamed named[] = {{"KOI8-R", 20866},    {"KOI8-U", 21866},      {"ISO-8859-1", 28591},
                                   {"ISO-8859-2", 28592}, {"ISO-8859-5", 28595}, {"ISO-8859-15", 28605},
                                   {"LATIN1", 28591},     {"US-ASCII", 20127},   {"MACINTOSH", 10000},
                                   {"UTF-8", 65001},      {"SHIFT_JIS", 932},    {"SHIFT-JIS", 932},
                                   {"SJIS", 932},         {"EUC-JP", 20932},     {"GBK", 936},
                                   {"GB2312", 936},       {"BIG5", 950},         {"EUC-KR", 51949}};
    for (const TNamed& n : named)
        if (upper == n.Name)
            return n.Number;
    for (const char* prefix : {"WINDOWS-", "CP", "IBM", "MS-", ""}) {
        const std::string p(prefix);
        if (upper.size() > p.size() && upper.compare(0, p.size(), p) == 0 &&
            std::all_of(upper.begin() + static_cast<std::ptrdiff_t>(p.size()), upper.end(),
                        [](char c) { return c >= '0' && c <= '9'; }) &&
            upper.size() - p.size() <= 5)
            return static_cast<unsigned>(std::stoul(upper.substr(p.size())));
    }
    return 0;
}

bool FillUpper(const std::string& upper, TCodePage& page, std::string& reason)
{
    const unsigned number = CodePageNumber(upper);
    CPINFO info{};
    if (number == 0 || !IsValidCodePage(number) || !GetCPInfo(number, &info)) {
        reason = "unknown";
        return false;
    }
    if (info.MaxCharSize != 1) {
        reason = "several bytes per character";
        return false;
    }
    for (int b = 128; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t w = 0;
        const int n = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, &byte, 1, &w, 1);
        page.Upper[static_cast<std::size_t>(b - 128)] = n == 1 ? static_cast<char16_t>(w) : kReplacement;
    }
    return true;
}

#else

bool FillUpper(const std::string& upper, TCodePage& page, std::string& reason)
{
    // UTF-16LE: one unit per character of a single-byte page, read byte order free of a BOM.
    const iconv_t cd = iconv_open("UTF-16LE", upper.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        reason = "unknown";
        return false;
    }
    bool single = true;
    for (int b = 128; b < 256 && single; ++b) {
        char in = static_cast<char>(b);
        char out[8] = {};
        char* inPtr = &in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh state for every byte
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        char16_t c = kReplacement;
        if (r == static_cast<std::size_t>(-1)) {
            // A byte that only begins a character: a page of several bytes per character.
            if (errno == EINVAL)
                single = false;
        } else if (sizeof out - outLeft == 2) {
            c = static_cast<char16_t>(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
        }
        page.Upper[static_cast<std::size_t>(b - 128)] = c;
    }
    // A page whose ASCII half is not ASCII (EBCDIC, UTF-16) cannot be read byte for byte either.
    for (char a : {'A', 'z', '0', ' '}) {
        char in = a;
        char out[8] = {};
        char* inPtr = &in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            sizeof out - outLeft != 2 || out[0] != a || out[1] != 0)
            single = false;
    }
    iconv_close(cd);
    if (!single)
        reason = "several bytes per character";
    return single;
}

#endif

}  // namespace

std::optional<TCodePage> FindCodePage(std::string_view name, std::string* error)
{
    const std::string upper = Upper(Trimmed(name));
    TCodePage page;
    std::string reason;
    if (IsUtf8Name(upper)) {
        page.Utf8 = true;
        return page;
    }
    if (!upper.empty() && FillUpper(upper, page, reason))
        return page;
    if (error) {
        if (reason == "several bytes per character")
            *error = "Code page \"" + Trimmed(name) + "\" cannot be read byte for byte";
        else
            *error = "Unknown code page \"" + Trimmed(name) + "\"";
    }
    return std::nullopt;
}

}  // namespace tarvex
