#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli traffic: the traffic report of a T-Mail line, as the traffic window writes it.
// tarvex-cli history: the last-sessions history of a line, one session a line, TAB-separated.
// Both take the arguments after the command name; exit 0, or 2 with the message on err.
int RunTrafficCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunHistoryCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kTrafficUsage;
extern const char* const kHistoryUsage;
