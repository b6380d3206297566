#pragma once
#include <QColor>
#include <cstdint>
#include <string>
#include <string_view>

// Colours as the settings keep them: a value 0x00BBGGRR (red in the low byte), or one of the
// 25 system colours 0x80000000 + index. As text a value is its name when it has one ("clRed",
// "clBtnFace") and otherwise "$" + eight hexadecimal digits.

std::string ColorToText(std::uint32_t value);
// Accepts a colour name (any case) or an integer text: decimal, "$" or "0x" hexadecimal.
bool TextToColor(std::string_view text, std::uint32_t& value);

// The colour to draw with: system colours come from the application's palette.
QColor ColorOfValue(std::uint32_t value);
// The value of a drawn colour (always an RGB value, never a system colour).
std::uint32_t ValueOfColor(const QColor& color);

// The 16 basic colours in their order (black, maroon, green, ... white): the cells of the colour
// grid. BasicColorIndex is -1 for a value that is none of them.
inline constexpr int kBasicColorCount = 16;
std::uint32_t BasicColor(int index);
int BasicColorIndex(std::uint32_t value);
