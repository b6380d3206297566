#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvex {

// Whether domains ("@fidonet") are read from and printed with addresses, program-wide.
// Off by default; the application settings set it, tests reset it.
bool ShowDomain();
void SetShowDomain(bool on);

// The domain written after an address ("@fidonet"), or none. A log names only a few domains,
// and every session and every node's day keeps an address: each text is kept once for the
// process and an address holds a pointer to it, which makes an address 16 bytes instead of
// 40. The kept texts never move and are never changed, so any thread may read them.
class TAddrDomain
{
public:
    TAddrDomain() = default;
    TAddrDomain(std::string_view text) { assign(text); }
    TAddrDomain& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    void assign(std::string_view text);
    std::string_view View() const { return P ? std::string_view(*P) : std::string_view(); }
    operator std::string_view() const { return View(); }
    bool empty() const { return P == nullptr; }
    std::size_t size() const { return View().size(); }
    friend bool operator==(const TAddrDomain& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const TAddrDomain& a, const TAddrDomain& b) { return a.P == b.P; }
    friend std::string operator+(std::string a, const TAddrDomain& b) { return a.append(b.View()); }

private:
    const std::string* P = nullptr;
};

std::ostream& operator<<(std::ostream& out, const TAddrDomain& d);

// A FidoNet address zone:net/node.point with an optional domain. Numbers are 16-bit: a larger
// number in the text keeps its low 16 bits.
struct TFidoAddr
{
    std::uint16_t Zone = 0, Net = 0, Node = 0, Point = 0;
    TAddrDomain Domain;  // '@' and the name as written (at most 255 characters), or empty

    // "3:712/40.1@othernet"; trailing text after the address is ignored. Throws EConvertError
    // when the zone, net, node or point number is missing or malformed.
    static TFidoAddr Parse(std::string_view s);
    // The same without throwing: false, and the message Parse would throw in error.
    static bool TryParse(std::string_view s, TFidoAddr& out, std::string& error);
    std::string ToString() const;
};

// Both ignore the domain.
bool Equal(const TFidoAddr& a, const TFidoAddr& b);
int Compare(const TFidoAddr& a, const TFidoAddr& b);  // -1, 0, 1 by zone, net, node, point

// zone:net/node[.point], for the numbers held in the mailer's binary files.
std::string FormatAddr(unsigned zone, unsigned net, unsigned node, unsigned point);

}  // namespace tarvex
