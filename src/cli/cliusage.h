#pragma once
#include <iosfwd>
#include <string>
#include <string_view>

// What every command says about its own command line, so that all of them say it alike.

// "--help" or "-h": the command prints its usage on stdout and ends with status 0.
bool IsHelpArgument(std::string_view arg);

// The complaint about an argument the command does not take: "unknown option 'X'" for one that
// looks like an option, "unexpected argument 'X'" for a word where none is taken.
std::string UnknownArgument(std::string_view arg);

// "unknown style 'X' (0 Other, 1 T-mail, ...)": the refusal names every style it would take.
std::string UnknownStyle(std::string_view text);

// Why a file of this machine cannot be read, for a message that names it: "no such file",
// "is a directory" or "cannot be read".
std::string WhyUnreadable(const std::string& localPath);

// A usage error: "tarvex-cli COMMAND: what" on its own line, then the command's usage (which
// ends with a line break).
void SayUsageError(std::ostream& err, std::string_view command, std::string_view what, std::string_view usage);
