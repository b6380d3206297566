#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli report sessions --style STYLE [analysis options] [--columns LIST] [--header FILE]
//     [--footer FILE] [--settings FILE --log NAME] [--utf8] [--code-page NAME] [--output FILE] LOGFILE
// Analyses the log as analyze does and writes the session list report of the window: the
// table of the file columns between the header and footer templates. Returns 0 when the
// whole log was read, 1 when the pass ended early, 2 for a usage, file, configuration or
// language error and when no column goes to the file.
// tarvex-cli report dialstat takes the same options and --day N: the dial statistics of the
// N-th day (0-based; the last day when not given) of the log, as the dial statistics window
// writes them; a day outside the log is a usage error (2).
int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
