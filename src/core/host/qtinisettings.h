#pragma once
#include <string>
#include <string_view>

#include "host/settingsstore.h"

namespace tarvex {

// Reads the INI form of the GUI's settings file (QSettings' IniFormat as the GUI's store
// writes it) without Qt, so that the command line can take what the user set up in the
// window. Two layers of naming are undone: the INI file's own escapes ("%20", "%U0431",
// quoted values, "\x0d", "@ByteArray(...)", "@@") and then the store's own percent-encoding of
// section and value names. Lines that are not sections or values are skipped.
void ReadQtIniSettings(std::string_view text, TMemorySettings& into);

// The store's own naming: "%XX" is the byte XX; anything else stands for itself.
std::string DecodeSettingsName(std::string_view name);

}  // namespace tarvex
