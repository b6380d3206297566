#include "common/appsettings.h"

#include <QFontDatabase>

#include "base/fontvalue.h"
#include "common/colortext.h"

using tarvex::ISettingsStore;

QColor TLogColors::Color(tarvex::TColorItem item) const { return Color(static_cast<int>(item)); }

QColor TLogColors::Color(int item) const
{
    return item >= 0 && item < tarvex::kColorItemCount ? ColorOfValue(Values[static_cast<std::size_t>(item)]) : QColor();
}

QFont TLogFontSetting::DefaultFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

// The font in its stored form; also what a stored value missing some fields falls back to.
static tarvex::TFontValue ToFontValue(const QFont& font, const std::string& colorText)
{
    tarvex::TFontValue v;
    v.Name = font.family().toStdString();
    v.Size = font.pointSize() > 0 ? font.pointSize() : 10;
    v.Bold = font.bold();
    v.Italic = font.italic();
    v.Underline = font.underline();
    v.StrikeOut = font.strikeOut();
    v.Pitch = font.fixedPitch() ? 2 : 0;
    v.Color = colorText;
    return v;
}

void TLogFontSetting::Load(const ISettingsStore& reg)
{
    tarvex::TFontValue v = ToFontValue(Font, ColorText);
    LoadLogFontValue(reg, v);
    QFont f(QString::fromStdString(v.Name));
    if (v.Size > 0)
        f.setPointSize(v.Size);
    f.setBold(v.Bold);
    f.setItalic(v.Italic);
    f.setUnderline(v.Underline);
    f.setStrikeOut(v.StrikeOut);
    if (v.Pitch == 2) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::Monospace);
    }
    Font = f;
    ColorText = v.Color;
}

void TLogFontSetting::Save(ISettingsStore& reg) const
{
    const tarvex::TFontValue v = ToFontValue(Font, ColorText);
    reg.WriteString("General", "LogFont", tarvex::WriteFontValue(v));
}
