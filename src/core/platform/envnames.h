#pragma once
#include <map>
#include <string>
#include <string_view>

namespace tarvex {

// Mailer configurations name their folders through environment names the sysop's start-up
// script sets (`StatusLog %BT%\log\Binkley.Log`). A %NAME% that the file itself does not
// define is taken from the user's mapping first (the "Environment" settings, --env), then
// from this process's environment. Names are case-blind, as on DOS.
void SetEnvironmentNames(const std::map<std::string, std::string>& names);
const std::map<std::string, std::string>& GetEnvironmentNames();

// Replaces every %NAME% of text that the mapping or the environment knows; names known to
// neither stay as they are, so that a path holding one can be reported by its name.
void ExpandEnvironmentNames(std::string& text);

// For a path that still holds a %NAME% nobody defines: "%BT% is not defined: set it under
// Environment or with --env BT=DIR". Empty when the path holds none.
std::string UndefinedNameMessage(std::string_view path);

}  // namespace tarvex
