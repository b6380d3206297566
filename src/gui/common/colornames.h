#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Colours as the settings keep them: a value 0x00BBGGRR (red in the low byte), or one of the
// 25 system colours 0x80000000 + index. As text a value is its name when it has one ("clRed",
// "clBtnFace") and otherwise "$" + eight hexadecimal digits. Reading and writing that text needs
// no screen, so the settings can be read without one.

inline constexpr std::uint32_t kSystemColorBase = 0x80000000u;
inline constexpr std::size_t kSystemColorCount = 25;

std::string ColorToText(std::uint32_t value);
// Accepts a colour name (any case) or an integer text: decimal, "$" or "0x" hexadecimal.
bool TextToColor(std::string_view text, std::uint32_t& value);

// The 16 basic colours in their order (black, maroon, green, ... white): the cells of the colour
// grid. BasicColorIndex is -1 for a value that is none of them.
inline constexpr int kBasicColorCount = 16;
std::uint32_t BasicColor(int index);
int BasicColorIndex(std::uint32_t value);
