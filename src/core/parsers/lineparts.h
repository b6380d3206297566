#pragma once
// Small readers of fixed-column log lines that several mailer parsers share.
#include <cstdint>
#include <string_view>

#include "base/datetime.h"
#include "base/logutils.h"

namespace tarvex::lineparts {

// The characters of a line from a 0-based position; empty past its end.
inline std::string_view From(std::string_view line, std::size_t pos)
{
    return pos < line.size() ? line.substr(pos) : std::string_view();
}

// Whether the text stands in s at a 0-based position.
inline bool HasAt(std::string_view s, std::size_t pos, std::string_view text)
{
    return s.size() >= pos + text.size() && s.substr(pos, text.size()) == text;
}

// A two-character number at a 0-based position; the conversion error tells a bad one.
inline int TwoDigitField(std::string_view line, std::size_t pos)
{
    return StrToInt(pos < line.size() ? line.substr(pos, 2) : std::string_view());
}

// "HH:MM:SS" at a 0-based position as a time of day.
inline TDateTime TimeFields(std::string_view line, std::size_t pos)
{
    return EncodeTime(TwoDigitField(line, pos), TwoDigitField(line, pos + 3), TwoDigitField(line, pos + 6));
}

// The remote's name as the mailers write it before " from <place>"; empty without a "from".
inline std::string_view NameBeforeFrom(std::string_view s)
{
    const std::size_t from = s.find("from");
    return from == std::string_view::npos || from < 1 ? std::string_view() : s.substr(0, from - 1);
}

}  // namespace tarvex::lineparts
