#include "base/fidoaddr.h"

#include <mutex>
#include <ostream>
#include <unordered_set>
#include <utility>

#include "base/errors.h"
#include "base/logutils.h"

namespace tarvex {

namespace {

bool DomainOn = false;

constexpr std::size_t MaxDomain = 255;

std::uint16_t Low16(int v)
{
    return static_cast<std::uint16_t>(static_cast<unsigned>(v) & 0xFFFFu);
}

// A number through the integer conversion; on failure the conversion's message goes to error.
bool TakeNumber(std::string_view text, std::uint16_t& out, std::string& error)
{
    int v = 0;
    if (!TryStrToInt(text, v)) {
        error = NotIntegerMessage(text);
        return false;
    }
    out = Low16(v);
    return true;
}

// Zone and net: the text before the delimiter through the integer conversion (leading blanks
// and a sign allowed); s continues after the delimiter (empty when there is none).
bool TakeNumberBefore(std::string_view& s, char delim, std::uint16_t& out, std::string& error)
{
    const std::size_t at = s.find(delim);
    if (!TakeNumber(s.substr(0, at), out, error))
        return false;
    s = at == std::string_view::npos ? std::string_view() : s.substr(at + 1);
    return true;
}

// Node and point: the digits right at pos; an empty run fails like any malformed number.
bool TakeDigits(std::string_view s, std::size_t& pos, std::uint16_t& out, std::string& error)
{
    const std::size_t start = pos;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')
        ++pos;
    return TakeNumber(s.substr(start, pos - start), out, error);
}

// The usual case of a zone or net: one to nine digits right up to the delimiter. Advances pos
// past the delimiter; false (pos undefined) for anything else.
bool PlainNumberBefore(std::string_view s, std::size_t& pos, char delim, int& value)
{
    const std::size_t start = pos;
    int v = 0;
    while (pos < s.size() && pos - start < 9 && s[pos] >= '0' && s[pos] <= '9')
        v = v * 10 + (s[pos++] - '0');
    if (pos == start || pos >= s.size() || s[pos] != delim)
        return false;
    ++pos;
    value = v;
    return true;
}

}  // namespace

void TAddrDomain::assign(std::string_view text)
{
    if (text.empty()) {
        P = nullptr;
        return;
    }
    // Set elements never move, so the pointers handed out stay good while others are added.
    static std::mutex mutex;
    static std::unordered_set<std::string> kept;
    const std::lock_guard<std::mutex> lock(mutex);
    P = &*kept.emplace(text).first;
}

std::ostream& operator<<(std::ostream& out, const TAddrDomain& d) { return out << d.View(); }

bool ShowDomain() { return DomainOn; }

void SetShowDomain(bool on) { DomainOn = on; }

TFidoAddr TFidoAddr::Parse(std::string_view text)
{
    TFidoAddr a;
    std::string error;
    if (!TryParse(text, a, error))
        throw EConvertError(error);
    return a;
}

bool TFidoAddr::TryParse(std::string_view text, TFidoAddr& out, std::string& error)
{
    // Parsed in place: addresses are read on many lines of a log, damaged ones included.
    TFidoAddr a;
    std::string_view s = text;
    std::size_t pos = 0;
    int zone = 0, net = 0;
    if (PlainNumberBefore(s, pos, ':', zone) && PlainNumberBefore(s, pos, '/', net)) {
        a.Zone = Low16(zone);
        a.Net = Low16(net);
        s.remove_prefix(pos);
    } else if (!TakeNumberBefore(s, ':', a.Zone, error) || !TakeNumberBefore(s, '/', a.Net, error)) {
        return false;
    }
    pos = 0;
    if (!TakeDigits(s, pos, a.Node, error))
        return false;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        if (!TakeDigits(s, pos, a.Point, error))
            return false;
    }
    if (DomainOn && pos < s.size() && s[pos] == '@')
        a.Domain.assign(s.substr(pos, MaxDomain));
    out = std::move(a);
    return true;
}

std::string TFidoAddr::ToString() const
{
    std::string r = FormatAddr(Zone, Net, Node, Point);
    if (DomainOn)
        r += Domain;
    return r;
}

bool Equal(const TFidoAddr& a, const TFidoAddr& b)
{
    return a.Zone == b.Zone && a.Net == b.Net && a.Node == b.Node && a.Point == b.Point;
}

int Compare(const TFidoAddr& a, const TFidoAddr& b)
{
    const std::uint16_t x[4] = {a.Zone, a.Net, a.Node, a.Point};
    const std::uint16_t y[4] = {b.Zone, b.Net, b.Node, b.Point};
    for (int i = 0; i < 4; ++i)
        if (x[i] != y[i])
            return x[i] < y[i] ? -1 : 1;
    return 0;
}

std::string FormatAddr(unsigned zone, unsigned net, unsigned node, unsigned point)
{
    std::string r = std::to_string(zone) + ":" + std::to_string(net) + "/" + std::to_string(node);
    if (point != 0)
        r += "." + std::to_string(point);
    return r;
}

}  // namespace tarvex
