#include "common/colortext.h"

#include <QApplication>
#include <QPalette>
#include <array>

QColor ColorOfValue(std::uint32_t value)
{
    if (value >= kSystemColorBase && value < kSystemColorBase + kSystemColorCount) {
        const QPalette pal = QApplication::palette();
        using R = QPalette::ColorRole;
        static constexpr std::array<R, kSystemColorCount> roles = {
            R::Button,   R::Window,          R::Highlight, R::Mid,         R::Window,
            R::Base,     R::Shadow,          R::WindowText, R::Text,       R::HighlightedText,
            R::Window,   R::Window,          R::Dark,      R::Highlight,   R::HighlightedText,
            R::Button,   R::Mid,             R::PlaceholderText, R::ButtonText, R::ButtonText,
            R::Light,    R::Shadow,          R::Midlight,  R::ToolTipText, R::ToolTipBase,
        };
        return pal.color(roles[value - kSystemColorBase]);
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ValueOfColor(const QColor& color)
{
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}
