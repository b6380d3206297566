#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli cut (--kbytes N | --days N) [--style STYLE] [--year YYYY] LOGFILE
// Cuts a log as a log window does when it opens it, for cron: by KBytes at the first line that
// starts within the last N KBytes, by days keeping the lines of the last N dates as the style
// reads them. Prints one line: what was removed and what was kept. args are the words after
// "cut". Returns 0 whether or not anything was cut; 2 for a usage error, a log that cannot be
// read or rewritten, or a copy left by an unfinished cut.
int RunCutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
