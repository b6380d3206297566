#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli phrases --style STYLE --mailer-path DIR [--drive L=DIR]...
// Lists the phrases that a log style takes from the mailer's language file, one per line as
// number-or-key TAB phrase, so that a sysop can see why a translated file does not match.
// args are the words after "phrases". Returns the exit code: 0, or 2 on any failure.
int RunPhrasesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes TAB, CR, LF and backslash as \t, \r, \n and \\ so that each phrase stays on its line.
std::string EscapePhrase(const std::string& s);
