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
int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
