#include "recordwriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ostream>

using namespace tarvex;

namespace {

bool NeedsEscape(char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\\'; }

// Writes s escaped at to, which has room for twice its size; returns the end.
char* CopyEscaped(char* to, std::string_view s)
{
    for (const char c : s) {
        if (!NeedsEscape(c)) {
            *to++ = c;
            continue;
        }
        *to++ = '\\';
        *to++ = c == '\t' ? 't' : c == '\r' ? 'r' : c == '\n' ? 'n' : '\\';
    }
    return to;
}

}  // namespace

TRecordWriter::TRecordWriter(std::ostream& out, std::size_t blockSize)
    : Out(&out), BlockSize(std::max<std::size_t>(blockSize, 1))
{
    Grow(BlockSize + 4096);
}

TRecordWriter::TRecordWriter() : BlockSize(SIZE_MAX) { Grow(std::size_t(1) << 20); }

TRecordWriter::~TRecordWriter() { Flush(); }

void TRecordWriter::Grow(std::size_t n)
{
    const std::size_t cap = std::max(Len + n, Cap * 2);
    auto data = std::make_unique<char[]>(cap);
    if (Len > 0)
        std::memcpy(data.get(), Data.get(), Len);
    Data = std::move(data);
    Cap = cap;
}

void TRecordWriter::Append(std::string_view s)
{
    if (!s.empty())
        std::memcpy(Room(s.size()), s.data(), s.size());
    Len += s.size();
}

void TRecordWriter::Flush()
{
    if (Out != nullptr && Len > 0)
        Out->write(Data.get(), static_cast<std::streamsize>(Len));
    if (Out != nullptr)
        Len = 0;
}

void TRecordWriter::End()
{
    Put1('\n');
    if (Len >= BlockSize)
        Flush();
}

void TRecordWriter::Put(std::string_view records)
{
    if (Out == nullptr || records.size() < BlockSize) {
        Append(records);
        if (Len >= BlockSize)
            Flush();
        return;
    }
    Flush();
    Out->write(records.data(), static_cast<std::streamsize>(records.size()));
}

void TRecordWriter::Digits(std::int64_t v, int width)
{
    // Negative numbers keep their sign in front of the zero fill ("-0005"), as dates did.
    char* p = Room(48);
    if (v < 0)
        *p++ = '-';
    const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char tmp[24];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, magnitude);
    const auto n = static_cast<int>(r.ptr - tmp);
    for (int i = n; i < width; ++i)
        *p++ = '0';
    p = std::copy(tmp, r.ptr, p);
    Len = static_cast<std::size_t>(p - Data.get());
}

void TRecordWriter::Int(std::int64_t v)
{
    char* p = Room(24);
    *p++ = '\t';
    Len = static_cast<std::size_t>(std::to_chars(p, p + 22, v).ptr - Data.get());
}

void TRecordWriter::Text(std::string_view s)
{
    char* p = Room(1 + 2 * s.size());
    *p++ = '\t';
    Len = static_cast<std::size_t>(CopyEscaped(p, s) - Data.get());
}

void TRecordWriter::Hex2(unsigned v)
{
    char* p = Room(16);
    *p++ = '\t';
    if (v < 16)
        *p++ = '0';
    Len = static_cast<std::size_t>(std::to_chars(p, p + 14, v, 16).ptr - Data.get());
}

void TRecordWriter::PutDate(std::int64_t days)
{
    if (days != CachedDays) {
        int y = 0, m = 0, d = 0;
        DecodeDate(static_cast<TDateTime>(days), y, m, d);
        const std::size_t keep = Len;
        Digits(y, 4);
        Put1('-');
        Digits(m, 2);
        Put1('-');
        Digits(d, 2);
        CachedDateLen = std::min(Len - keep, sizeof CachedDate);
        std::memcpy(CachedDate, Data.get() + keep, CachedDateLen);
        CachedDays = days;
        return;
    }
    Append({CachedDate, CachedDateLen});
}

void TRecordWriter::Date(TDateTime t)
{
    std::int64_t days = 0, msOfDay = 0;
    SplitDateTime(t, days, msOfDay);
    Tab();
    PutDate(days);
}

void TRecordWriter::DateTime(TDateTime t)
{
    std::int64_t days = 0, msOfDay = 0;
    SplitDateTime(t, days, msOfDay);
    Tab();
    PutDate(days);
    const auto ms = static_cast<int>(msOfDay);
    const int fields[3] = {ms / 3'600'000, ms / 60'000 % 60, ms / 1000 % 60};
    char* p = Room(9);
    for (int i = 0; i < 3; ++i) {
        *p++ = i == 0 ? ' ' : ':';
        *p++ = static_cast<char>('0' + fields[i] / 10);
        *p++ = static_cast<char>('0' + fields[i] % 10);
    }
    Len += 9;
}

void TRecordWriter::Addr(const TFidoAddr& a)
{
    Tab();
    Digits(a.Zone, 0);
    Put1(':');
    Digits(a.Net, 0);
    Put1('/');
    Digits(a.Node, 0);
    if (a.Point != 0) {
        Put1('.');
        Digits(a.Point, 0);
    }
    if (ShowDomain()) {
        char* p = Room(2 * a.Domain.size());
        Len = static_cast<std::size_t>(CopyEscaped(p, a.Domain) - Data.get());
    }
}

std::string EscapeField(std::string_view s)
{
    std::string r(2 * s.size(), '\0');
    r.resize(static_cast<std::size_t>(CopyEscaped(r.data(), s) - r.data()));
    return r;
}
