#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvex {

// A mailer language file could not be read or is shorter than its own header says. No partial
// table is ever kept: the reader's constructor throws this instead.
class ELngError : public std::runtime_error
{
public:
    explicit ELngError(const std::string& msg) : std::runtime_error(msg) {}
};

// What the user is told, whatever the reason above.
inline constexpr std::string_view CannotOpenLngMessage = "Cannot open .LNG file";

// The little-endian 16-bit number at `at`; the caller has checked that both bytes are there.
inline std::uint16_t LngWord16(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

// Reads a language file in one piece; throws ELngError when it cannot be read.
std::string ReadLngFile(std::string_view localPath);

}  // namespace tarvex
