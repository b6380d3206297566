#include "recordwriter.h"

#include <charconv>
#include <ostream>

using namespace tarvex;

namespace {

bool NeedsEscape(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\\'; }

void AppendEscaped(std::string& to, std::string_view s)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!NeedsEscape(s[i]))
            continue;
        to.append(s.substr(start, i - start));
        to.push_back('\\');
        to.push_back(s[i] == '\t' ? 't' : s[i] == '\r' ? 'r' : s[i] == '\n' ? 'n' : '\\');
        start = i + 1;
    }
    to.append(s.substr(start));
}

}  // namespace

TRecordWriter::TRecordWriter(std::ostream& out, std::size_t blockSize) : Out(out), BlockSize(blockSize)
{
    Buf.reserve(BlockSize + 4096);
}

TRecordWriter::~TRecordWriter() { Flush(); }

void TRecordWriter::Flush()
{
    if (!Buf.empty())
        Out.write(Buf.data(), static_cast<std::streamsize>(Buf.size()));
    Buf.clear();
}

void TRecordWriter::End()
{
    Buf.push_back('\n');
    if (Buf.size() >= BlockSize)
        Flush();
}

void TRecordWriter::Digits(std::int64_t v, int width)
{
    // Negative numbers keep their sign in front of the zero fill ("-0005"), as dates did.
    if (v < 0)
        Buf.push_back('-');
    const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char tmp[24];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, magnitude);
    const auto n = static_cast<int>(r.ptr - tmp);
    if (n < width)
        Buf.append(static_cast<std::size_t>(width - n), '0');
    Buf.append(tmp, r.ptr);
}

void TRecordWriter::Int(std::int64_t v)
{
    Tab();
    char tmp[24];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    Buf.append(tmp, r.ptr);
}

void TRecordWriter::Text(std::string_view s)
{
    Tab();
    AppendEscaped(Buf, s);
}

void TRecordWriter::Hex2(unsigned v)
{
    Tab();
    char tmp[16];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v, 16);
    if (r.ptr - tmp < 2)
        Buf.push_back('0');
    Buf.append(tmp, r.ptr);
}

void TRecordWriter::Date(TDateTime t)
{
    Tab();
    int y = 0, m = 0, d = 0;
    DecodeDate(t, y, m, d);
    Digits(y, 4);
    Buf.push_back('-');
    Digits(m, 2);
    Buf.push_back('-');
    Digits(d, 2);
}

void TRecordWriter::DateTime(TDateTime t)
{
    Date(t);
    int h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(t, h, n, s, ms);
    Buf.push_back(' ');
    Digits(h, 2);
    Buf.push_back(':');
    Digits(n, 2);
    Buf.push_back(':');
    Digits(s, 2);
}

void TRecordWriter::Addr(const TFidoAddr& a)
{
    Tab();
    Digits(a.Zone, 0);
    Buf.push_back(':');
    Digits(a.Net, 0);
    Buf.push_back('/');
    Digits(a.Node, 0);
    if (a.Point != 0) {
        Buf.push_back('.');
        Digits(a.Point, 0);
    }
    if (ShowDomain())
        AppendEscaped(Buf, a.Domain);
}

std::string EscapeField(std::string_view s)
{
    std::string r;
    r.reserve(s.size());
    AppendEscaped(r, s);
    return r;
}
