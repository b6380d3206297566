#pragma once
#include <QColor>
#include <QFont>
#include <string>

#include "common/generalsettings.h"
#include "host/settingsstore.h"

// The eleven colours as the viewer draws them.
struct TLogColors : TLogColorValues {
    QColor Color(tarvex::TColorItem item) const;
    QColor Color(int item) const;
};

// The viewer font of every log window, stored as one text value "LogFont" in "General". The
// default is the system's fixed-pitch font: logs are laid out in columns.
struct TLogFontSetting {
    QFont Font = DefaultFont();
    std::string ColorText = "clWindowText";

    static QFont DefaultFont();
    void Load(const tarvex::ISettingsStore& reg);
    void Save(tarvex::ISettingsStore& reg) const;
};
