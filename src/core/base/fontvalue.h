#pragma once
#include <string>
#include <string_view>

namespace tarvex {

// A font as the settings store keeps it: one text value "name,size,style,pitch,colour", e.g.
// "Courier New,10,BI,2,clBlack". The colour stays text here; the front end turns colour names
// and "$" hex values into colours.
struct TFontValue
{
    std::string Name;
    int Size = 0;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    int Pitch = 0;  // 0 default, 1 variable, 2 fixed
    std::string Color;
};

std::string WriteFontValue(const TFontValue& font);
// Applies what it can of text to font and leaves the rest as it was: a field counts only when a
// ',' still follows it (the colour is all that remains after the fourth ','); an empty or
// non-numeric name, size, pitch or colour keeps the old value; the style field, when present,
// always replaces the styles. Never throws.
void ReadFontValue(std::string_view text, TFontValue& font);

}  // namespace tarvex
