#pragma once
#include "common/appsettings.h"
#include "host/settingsstore.h"
#include "host/userinterface.h"

// What the windows below the main window work with, owned by the main window for the whole run:
// the settings store, the user interface, the colours and the font of log text, and the
// settings of section "General". It holds references only, so a window keeps a copy.
struct TGuiEnv {
    tarvex::ISettingsStore& Store;
    tarvex::IUserInterface& Ui;
    TLogColors& Colors;
    TLogFontSetting& Font;
    TAppSettings& Settings;
};
