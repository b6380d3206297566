#include "report/reportwriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/linesplit.h"
#include "platform/filebytes.h"
#include "platform/fileops.h"

namespace tarvex {

namespace {

constexpr std::string_view kProgram = "Tarvex beta 4";

// Left end, fill, between two columns, right end of each border line (code page 437).
constexpr unsigned char kBorders[4][4] = {
    {218, 196, 194, 191},  // top
    {198, 205, 216, 181},  // under the headings
    {195, 196, 197, 180},  // group separator
    {192, 196, 193, 217},  // bottom
};
constexpr unsigned char kBar = 179;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return len;
}

// The number of characters of valid UTF-8, or npos when the bytes are not UTF-8.
std::size_t Utf8Length(std::string_view s)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) {
        const std::size_t len = Utf8SequenceAt(s, i);
        if (len == 0)
            return std::string_view::npos;
        i += len;
    }
    return n;
}

// The bytes of the first maxChars characters of a cell read as UTF-8, a byte that begins no
// sequence counting as one character; chars is how many there are.
std::size_t Utf8Prefix(std::string_view s, std::size_t maxChars, std::size_t& chars)
{
    std::size_t i = 0;
    for (chars = 0; i < s.size() && chars < maxChars; ++chars)
        i += std::max<std::size_t>(Utf8SequenceAt(s, i), 1);
    return i;
}

// Code page 437's box characters, should the system's converter not know the page: the table
// still reads as a table.
char32_t PlainBox(unsigned char b)
{
    switch (b) {
    case 196: case 205: return U'-';
    case 179: case 186: return U'|';
    default: return U'+';
    }
}

void ReplaceAll(std::string& s, std::string_view macro, std::string_view by)
{
    std::size_t pos = 0;
    while ((pos = s.find(macro, pos)) != std::string::npos) {
        s.replace(pos, macro.size(), by);
        pos += by.size();
    }
}

std::string TwoDigits(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", ((n % 100) + 100) % 100);
    return buf;
}

}  // namespace

TDateTime LocalNow()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local)
        return 0;
    return ComposeDateTime(EncodeDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday),
                           EncodeTime(local->tm_hour, local->tm_min, std::min(local->tm_sec, 59)));
}

std::string ExpandTemplateLine(std::string_view line, TDateTime now, const TDateFormat& format, std::size_t total)
{
    std::string s(line);
    if (s.find('@') == std::string::npos)
        return s;
    int y = 0, m = 0, d = 0, h = 0, n = 0, sec = 0, ms = 0;
    DecodeDate(now, y, m, d);
    DecodeTime(now, h, n, sec, ms);
    const std::string date = TwoDigits(d) + " " + ShortMonthNames[std::clamp(m, 1, 12) - 1] + " " + TwoDigits(y);
    const std::string time = TwoDigits(h) + format.TimeSep + TwoDigits(n) + format.TimeSep + TwoDigits(sec);
    ReplaceAll(s, "@program", kProgram);
    ReplaceAll(s, "@date", date);
    ReplaceAll(s, "@time", time);
    ReplaceAll(s, "@total", std::to_string(total));
    return s;
}

TReportBuilder::TReportBuilder(const TReportStyle& style, TSink sink)
    : Style(style), Sink(std::move(sink)), Buf(std::size_t(1) << 18)
{
    if (Style.Utf8) {
        const std::optional<TCodePage> dos = FindCodePage("IBM437");
        for (std::size_t b = 128; b < 256; ++b) {
            std::string u;
            const char16_t c = dos && !dos->Utf8 ? dos->Upper[b - 128] : u'\uFFFD';
            AppendUtf8(u, c != u'\uFFFD' ? c : PlainBox(static_cast<unsigned char>(b)));
            u.copy(BoxUtf8[b], 3);
            BoxUtf8Len[b] = static_cast<unsigned char>(u.size());
        }
    }
}

char* TReportBuilder::Room(std::size_t n)
{
    if (Len + n > Buf.size()) {
        Finish();
        if (n > Buf.size())
            Buf.resize(n);
    }
    return Buf.data() + Len;
}

void TReportBuilder::Finish()
{
    if (Len > 0)
        Sink(std::string_view(Buf.data(), Len));
    Len = 0;
}

void TReportBuilder::Put(std::string_view bytes)
{
    if (!bytes.empty())
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    Len += bytes.size();
}

void TReportBuilder::Spaces(std::size_t n)
{
    std::memset(Room(n), ' ', n);
    Len += n;
}

void TReportBuilder::SetWidths(std::vector<int> widths)
{
    for (int& w : widths)
        w = std::max(w, 0);
    Widths = std::move(widths);
}

std::size_t TReportBuilder::RowBytes(const std::vector<int>& widths)
{
    std::size_t n = 4;
    for (int w : widths)
        n += static_cast<std::size_t>(std::max(w, 0)) + 3;  // a box character takes 3 bytes in UTF-8
    return n;
}

void TReportBuilder::Box(unsigned char b)
{
    if (!Style.Utf8) {
        *Room(1) = static_cast<char>(b);
        ++Len;
        return;
    }
    std::memcpy(Room(3), BoxUtf8[b], BoxUtf8Len[b]);
    Len += BoxUtf8Len[b];
}

void TReportBuilder::Text(std::string_view bytes)
{
    if (!Style.Utf8) {
        Put(bytes);
        return;
    }
    char* p = Room(bytes.size() * 3);
    char* const start = p;
    const bool utf8Cells = Style.CellPage && Style.CellPage->Utf8;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            *p++ = ch;
            continue;
        }
        if (utf8Cells) {
            if (const std::size_t len = Utf8SequenceAt(bytes, i); len > 0) {
                std::memcpy(p, bytes.data() + i, len);  // at most 4 bytes for as many as 12 reserved
                p += len;
                i += len - 1;
                continue;
            }
        }
        const char32_t c = utf8Cells        ? char32_t{0xFFFD}
                           : Style.CellPage ? char32_t{Style.CellPage->Upper[b - 128]}
                                            : char32_t{b};
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    Len += static_cast<std::size_t>(p - start);
}

void TReportBuilder::Heading(std::string_view bytes)
{
    // Headings are typed by the user and stored as UTF-8; only bytes that are not UTF-8 are
    // taken to be in the OEM code page.
    if (Style.Utf8 && Utf8Length(bytes) != std::string_view::npos)
        Put(bytes);
    else
        Text(bytes);
}

void TReportBuilder::EndLine() { Put(Style.Utf8 ? std::string_view("\n") : std::string_view("\r\n")); }

void TReportBuilder::Border(TBorder kind)
{
    const unsigned char* chars = kBorders[static_cast<int>(kind)];
    Box(chars[0]);
    for (std::size_t k = 0; k < Widths.size(); ++k) {
        for (int i = 0; i < Widths[k]; ++i)
            Box(chars[1]);
        Box(k + 1 < Widths.size() ? chars[2] : chars[3]);
    }
    EndLine();
}

void TReportBuilder::HeadingRow(std::span<const std::string> headings)
{
    Box(kBar);
    for (std::size_t k = 0; k < Widths.size() && k < headings.size(); ++k) {
        const std::string& h = headings[k];
        const std::size_t utf8Len = Style.Utf8 ? Utf8Length(h) : std::string_view::npos;
        const std::size_t len = utf8Len != std::string_view::npos ? utf8Len : h.size();
        const auto width = static_cast<std::size_t>(Widths[k]);
        // A heading as wide as its column or wider is written whole: the table then shifts.
        if (len >= width) {
            Heading(h);
        } else {
            const std::size_t before = width / 2 - len / 2;
            Spaces(before);
            Heading(h);
            Spaces(width - before - len);
        }
        Box(kBar);
    }
    EndLine();
}

void TReportBuilder::BeginRow() { Box(kBar); }

void TReportBuilder::Cell(std::size_t column, std::string_view text)
{
    const auto width = column < Widths.size() ? static_cast<std::size_t>(Widths[column]) : 0;
    if (Style.Utf8 && Style.CellPage && Style.CellPage->Utf8) {
        std::size_t chars = 0;
        Text(text.substr(0, Utf8Prefix(text, width, chars)));
        Spaces(width - chars);
        Box(kBar);
        return;
    }
    if (text.size() > width)
        text = text.substr(0, width);
    if (!Style.Utf8) {
        // One byte a character: the whole cell and its bar in one go.
        char* p = Room(width + 1);
        if (!text.empty())
            std::memcpy(p, text.data(), text.size());
        std::memset(p + text.size(), ' ', width - text.size());
        p[width] = static_cast<char>(kBar);
        Len += width + 1;
        return;
    }
    Text(text);
    Spaces(width - text.size());
    Box(kBar);
}

void TReportBuilder::EndRow() { EndLine(); }

bool TReportBuilder::CopyTemplate(const std::string& path, std::size_t total)
{
    FileBytes file;
    std::string error;
    if (!file.Load(path, error))
        return false;
    LineSplitter lines(file.Bytes());
    std::string_view line;
    while (lines.Next(line)) {
        Text(ExpandTemplateLine(line, Style.Now ? Style.Now() : LocalNow(), Style.Format, total));
        EndLine();
    }
    return true;
}

bool WriteReportFile(const std::string& fileName, std::string_view bytes, std::string& error)
{
    if (fileName.empty()) {
        error = "No report file name given";
        return false;
    }
    return ReplaceFileContents(fileName, bytes, {}, &error);
}

}  // namespace tarvex
