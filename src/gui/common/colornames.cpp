#include "common/colornames.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "base/logutils.h"

namespace {

struct TNamedColor {
    const char* Name;
    std::uint32_t Value;
};

constexpr std::array<TNamedColor, 16> kBasicColors = {{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},  {"clPurple", 0x800080}, {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},   {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
}};

// In the order of the system colour indexes.
constexpr std::array<const char*, kSystemColorCount> kSystemColors = {
    "clScrollBar",   "clBackground",  "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",      "clWindowFrame", "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",     "clHighlightText",
    "clBtnFace",     "clBtnShadow",   "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow", "cl3DLight",       "clInfoText",        "clInfoBk",
};

}  // namespace

std::uint32_t BasicColor(int index)
{
    return index >= 0 && index < kBasicColorCount ? kBasicColors[static_cast<std::size_t>(index)].Value : 0;
}

int BasicColorIndex(std::uint32_t value)
{
    for (std::size_t i = 0; i < kBasicColors.size(); ++i)
        if (kBasicColors[i].Value == value)
            return static_cast<int>(i);
    return -1;
}

std::string ColorToText(std::uint32_t value)
{
    for (const auto& c : kBasicColors)
        if (c.Value == value)
            return c.Name;
    if (value >= kSystemColorBase && value < kSystemColorBase + kSystemColors.size())
        return kSystemColors[value - kSystemColorBase];
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(value));
    return buf;
}

bool TextToColor(std::string_view text, std::uint32_t& value)
{
    for (const auto& c : kBasicColors)
        if (tarvex::SameText(text, c.Name)) {
            value = c.Value;
            return true;
        }
    for (std::size_t i = 0; i < kSystemColors.size(); ++i)
        if (tarvex::SameText(text, kSystemColors[i])) {
            value = kSystemColorBase + static_cast<std::uint32_t>(i);
            return true;
        }
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n, base);
    if (ec != std::errc() || end != text.data() + text.size() || n > 0xFFFFFFFFull)
        return false;
    value = negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(n)) : static_cast<std::uint32_t>(n);
    return true;
}
