#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex {

// Whether domains ("@fidonet") are read from and printed with addresses, program-wide.
// Off by default; the application settings set it, tests reset it.
bool ShowDomain();
void SetShowDomain(bool on);

// A FidoNet address zone:net/node.point with an optional domain. Numbers are 16-bit: a larger
// number in the text keeps its low 16 bits.
struct TFidoAddr
{
    std::uint16_t Zone = 0, Net = 0, Node = 0, Point = 0;
    std::string Domain;  // '@' and the name as written (at most 255 characters), or empty

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
