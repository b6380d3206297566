#include "base/fontvalue.h"

#include "base/logutils.h"

namespace tarvex {

std::string WriteFontValue(const TFontValue& font)
{
    std::string style;
    if (font.Bold)
        style += 'B';
    if (font.Italic)
        style += 'I';
    if (font.Underline)
        style += 'U';
    if (font.StrikeOut)
        style += 'S';
    return font.Name + "," + std::to_string(font.Size) + "," + style + "," + std::to_string(font.Pitch) + "," +
           font.Color;
}

void ReadFontValue(std::string_view text, TFontValue& font)
{
    // Takes the next field when a ',' still follows it.
    auto next = [&text](std::string& field) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos)
            return false;
        field = DropOuterSpaces(text.substr(0, comma));
        text.remove_prefix(comma + 1);
        return true;
    };
    std::string field;
    int number = 0;
    if (!next(field))
        return;
    if (!field.empty())
        font.Name = field;
    if (!next(field))
        return;
    if (TryStrToInt(field, number))
        font.Size = number;
    if (!next(field))
        return;
    const std::string style = UpperCase(field);
    font.Bold = style.find('B') != std::string::npos;
    font.Italic = style.find('I') != std::string::npos;
    font.Underline = style.find('U') != std::string::npos;
    font.StrikeOut = style.find('S') != std::string::npos;
    if (!next(field))
        return;
    if (TryStrToInt(field, number))
        font.Pitch = number;
    field = DropOuterSpaces(text);
    if (!field.empty())
        font.Color = field;
}

}  // namespace tarvex
