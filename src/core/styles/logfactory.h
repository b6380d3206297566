#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "log/tlog.h"

namespace tarvex {

// A new log of the style's class with its defaults; throws "Invalid Log.Style!" for an
// unknown style number.
std::unique_ptr<TLog> CreateLog(int style);
std::unique_ptr<TLog> LoadLog(int style, const ISettingsStore& reg, std::string_view section);

// Whether this version can analyse logs of the style in depth.
bool StyleHasAnalysis(int style);

// The style's name as the Logs dialog shows it ("T-mail", "Generic FrontDoor", ...).
std::string StyleName(int style);
// Dialog position <-> style number.
int StyleOfDialogPos(int pos);
int DialogPosOfStyle(int style);
// A style given as its number or its name, without regard to case; -1 when unknown.
int ParseStyle(std::string_view text);
// Every style as ParseStyle takes it, for a message that refuses another:
// "0 Other, 1 T-mail, ..., 8 Argus".
std::string StyleChoices();

}  // namespace tarvex
