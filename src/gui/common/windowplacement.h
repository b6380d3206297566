#pragma once
#include <QWidget>
#include <string_view>

#include "host/settingsstore.h"

// A top-level window's placement in a section of its own: "Flags", "ShowCmd" (1 normal,
// 2 minimised, 3 maximised), "MinMaxPos" and "NormPos" ("left,top,right,bottom" of the normal
// frame rectangle).
void SaveWindowPlacement(tarvex::ISettingsStore& reg, std::string_view section, const QWidget& w);
// Applies a stored placement before the window is shown, moved onto the screen it stands mostly
// on where it reaches out of it; false when none is stored.
bool RestoreWindowPlacement(const tarvex::ISettingsStore& reg, std::string_view section, QWidget& w);
