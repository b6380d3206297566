#pragma once
#include <string>
#include <vector>

#include "common/generalsettings.h"
#include "host/settingsstore.h"
#include "host/userinterface.h"
#include "styles/loglist.h"

// What the main window reads from the settings when it is first shown, in the order it reads
// it: section "General", the configured logs (a section of a style we do not know is reported
// through ui and kept), the colours. The font and the window placement are the window's own.
void LoadStartSettings(const tarvex::ISettingsStore& reg, tarvex::IUserInterface& ui, TAppSettings& app,
                       tarvex::TLogList& logs, TLogColorValues& colors);

// One log window of the saved desktop: section "Child" + n.
struct TDesktopEntry {
    std::string LogName;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
};

// The saved desktop, Child1 first: NumChildren entries, but only as far as Child sections are
// there, so that a damaged count neither stalls the start nor opens windows nobody saved.
std::vector<TDesktopEntry> ReadDesktop(const tarvex::ISettingsStore& reg);
