#include "base/logutils.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/errors.h"

namespace tarvex {

namespace {

// A set of delimiter bytes, looked up by table: WordAt runs over every byte of many lines.
class TDelimSet
{
public:
    explicit TDelimSet(std::string_view delims)
    {
        for (char c : delims)
            Set[static_cast<unsigned char>(c)] = true;
    }
    bool Has(char c) const { return Set[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> Set{};
};

[[noreturn]] void ThrowNotInteger(std::string_view s)
{
    throw EConvertError(tarvex::NotIntegerMessage(s));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string TwoDigits(std::int64_t v)
{
    std::string r(2, '0');
    r[0] = static_cast<char>('0' + (v / 10) % 10);
    r[1] = static_cast<char>('0' + v % 10);
    return r;
}

template <class IsDelim>
std::string_view NthWord(int n, std::string_view s, IsDelim isDelim)
{
    if (n < 1)
        return {};
    std::size_t i = 0;
    int word = 0;
    while (i < s.size()) {
        while (i < s.size() && isDelim(s[i]))
            ++i;
        if (i >= s.size())
            break;
        std::size_t start = i;
        while (i < s.size() && !isDelim(s[i]))
            ++i;
        if (++word == n)
            return s.substr(start, i - start);
    }
    return {};
}

}  // namespace

std::string_view LeadingTrimmed(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return s.substr(i);
}

std::string_view TrailingTrimmed(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

std::string_view WordViewAt(int n, std::string_view s, std::string_view delims)
{
    if (delims.size() == 1)
        return WordViewAt(n, s, delims[0]);
    const TDelimSet delim(delims);
    return NthWord(n, s, [&delim](char c) { return delim.Has(c); });
}

std::string_view WordViewAt(int n, std::string_view s, char delim)
{
    // One delimiter: the ends of words are found with the library's byte search.
    if (n < 1)
        return {};
    std::size_t i = 0;
    int word = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == delim)
            ++i;
        if (i >= s.size())
            break;
        std::size_t end = s.find(delim, i);
        if (end == std::string_view::npos)
            end = s.size();
        if (++word == n)
            return s.substr(i, end - i);
        i = end;
    }
    return {};
}

std::string WordAt(int n, std::string_view s, std::string_view delims)
{
    return std::string(WordViewAt(n, s, delims));
}

std::string DropLeadingSpaces(std::string_view s) { return std::string(LeadingTrimmed(s)); }

std::string DropTrailingSpaces(std::string_view s) { return std::string(TrailingTrimmed(s)); }

std::string DropOuterSpaces(std::string_view s) { return std::string(TrailingTrimmed(LeadingTrimmed(s))); }

std::string RemoveChar(std::string_view s, char c)
{
    std::string r;
    r.reserve(s.size());
    for (char ch : s)
        if (ch != c)
            r += ch;
    return r;
}

std::string RepeatChar(char c, int n)
{
    if (n < 1)
        return {};
    return std::string(static_cast<std::size_t>(n), c);
}

std::string PadRight(std::string_view s, int n)
{
    std::string r(s);
    if (n > 0 && r.size() < static_cast<std::size_t>(n))
        r.append(static_cast<std::size_t>(n) - r.size(), ' ');
    return r;
}

std::string TextBefore(std::string_view s, char c)
{
    return std::string(s.substr(0, s.find(c)));
}

std::string CutBefore(std::string& s, char c)
{
    const std::size_t pos = s.find(c);
    if (pos == std::string::npos) {
        std::string head = std::move(s);
        s.clear();
        return head;
    }
    std::string head = s.substr(0, pos);
    std::size_t rest = pos;
    while (rest < s.size() && s[rest] == ' ')  // only matters when c itself is a blank
        ++rest;
    s.erase(0, rest);
    return head;
}

bool MatchWild(std::string_view s, std::string_view pattern, bool ignoreCase)
{
    // Greedy scan; on a mismatch go back to the last '*' and let it swallow one more character.
    // Earlier stars never need revisiting, which keeps the cost at |s| x |pattern| at worst.
    auto same = [ignoreCase](char a, char b) {
        return ignoreCase ? UpCaseChar(a) == UpCaseChar(b) : a == b;
    };
    // A literal last character of the pattern can only stand for the last one of s: most
    // names are told apart here, without the scan.
    if (!pattern.empty() && pattern.back() != '*' && pattern.back() != '?' &&
        (s.empty() || !same(pattern.back(), s.back())))
        return false;
    std::size_t si = 0, pi = 0;
    std::size_t starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < pattern.size() && pattern[pi] == '*') {
            starP = pi++;
            starS = si;
        } else if (pi < pattern.size() && (pattern[pi] == '?' || same(pattern[pi], s[si]))) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < pattern.size() && pattern[pi] == '*')
        ++pi;
    return pi == pattern.size();
}

namespace {

// Leading blanks, an optional sign, then decimal digits or "$"/"0x" hexadecimal; nothing may
// follow. The magnitude may reach limit + 1 for a negative value (the most negative number).
bool TryParseInteger(std::string_view s, std::int64_t limit, std::int64_t& out)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    // Accumulated as a negative number, which reaches one step further than a positive one.
    const std::int64_t floor = negative ? -limit - 1 : -limit;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const int d = base == 16 ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (d < 0 || value < (floor + d) / base)
            return false;
        value = value * base - d;
    }
    out = negative ? value : -value;
    return true;
}

}  // namespace

bool TryStrToInt(std::string_view s, int& out)
{
    // Plain short runs of digits, the usual case, cannot overflow and need none of the rest.
    if (!s.empty() && s.size() <= 9) {
        int v = 0;
        std::size_t k = 0;
        for (; k < s.size() && s[k] >= '0' && s[k] <= '9'; ++k)
            v = v * 10 + (s[k] - '0');
        if (k == s.size()) {
            out = v;
            return true;
        }
    }
    std::int64_t v = 0;
    if (!TryParseInteger(s, INT32_MAX, v))
        return false;
    out = static_cast<int>(v);
    return true;
}

bool TryStrToInt64(std::string_view s, std::int64_t& out) { return TryParseInteger(s, INT64_MAX, out); }

std::int64_t StrToInt64(std::string_view s)
{
    std::int64_t v = 0;
    if (!TryStrToInt64(s, v))
        ThrowNotInteger(s);
    return v;
}

std::int64_t StrToInt64Grouped(std::string_view s) { return StrToInt64(RemoveChar(s, ',')); }

int StrToInt(std::string_view s)
{
    int v = 0;
    if (!TryStrToInt(s, v))
        ThrowNotInteger(s);
    return v;
}

std::string NotIntegerMessage(std::string_view s)
{
    std::string msg;
    msg.reserve(s.size() + 30);
    msg += '\'';
    msg += s;
    msg += "' is not a valid integer value";
    return msg;
}

int StrToIntDef(std::string_view s, int def)
{
    int v = 0;
    return TryStrToInt(s, v) ? v : def;
}

int StrToIntGrouped(std::string_view s)
{
    return StrToInt(RemoveChar(s, ','));
}

std::string StripParenthesized(std::string_view s)
{
    if (s.empty() || s.back() != ')')
        return std::string(s);
    const std::size_t open = s.rfind('(');
    if (open == std::string_view::npos)
        return std::string(s);
    // The character before '(' is the blank that separated the note from the name.
    return std::string(s.substr(0, open == 0 ? 0 : open - 1));
}

std::string FileNameOf(std::string_view path) { return std::string(FileNameViewOf(path)); }

std::string_view FileNameViewOf(std::string_view path)
{
    if (path.size() < 2)
        return path;
    const std::size_t sep = path.rfind('\\', path.size() - 2);
    if (sep == std::string_view::npos)
        return path;
    return path.substr(sep + 1);
}

std::string NoTrailingBackslash(std::string_view s)
{
    if (!s.empty() && s.back() == '\\')
        s.remove_suffix(1);
    return std::string(s);
}

int MonthOfName(std::string_view name)
{
    for (int i = 0; i < 12; ++i)
        if (name == ShortMonthNames[i])
            return i + 1;
    throw EConvertError("Invalid month");
}

std::string SizeToStr(std::int64_t n)
{
    if (n > 1048576)
        return std::to_string(n >> 20) + "M";
    if (n > 1024)
        return std::to_string(n >> 10) + "K";
    return std::to_string(n);
}

std::string SecsToStr(std::int64_t n)
{
    std::string sign;
    std::uint64_t u = static_cast<std::uint64_t>(n);
    if (n < 0) {
        // A duration goes negative when the clock was set back during a session; show it
        // as such rather than as a garbled "-1:-5:-3".
        sign = "-";
        u = 0 - u;
    }
    const std::uint64_t hours = u / 3600;
    const auto minutes = static_cast<std::int64_t>((u / 60) % 60);
    const auto seconds = static_cast<std::int64_t>(u % 60);
    return sign + std::to_string(hours) + ":" + TwoDigits(minutes) + ":" + TwoDigits(seconds);
}

void TimelinePos(TDateTime t, int dayStart, int dayEnd, int& day, int& secs)
{
    std::int64_t days = 0, ms = 0;
    SplitDateTime(t, days, ms);
    const auto secOfDay = static_cast<int>(ms / 1000);
    int h = secOfDay / 3600;
    const int rest = secOfDay % 3600;
    day = static_cast<int>(days);
    if (dayStart > dayEnd) {
        if (h >= dayStart)
            ++day;
        else
            h += 24;
    }
    secs = (h - dayStart) * 3600 + rest;
}

std::string UpperCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = UpCaseChar(c);
    return r;
}

std::string LowerCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = LowCaseChar(c);
    return r;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpCaseChar(a[i]) != UpCaseChar(b[i]))
            return false;
    return true;
}

}  // namespace tarvex
