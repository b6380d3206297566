#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli analyze --style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain]
//                    [--brake-version N] [--drive L=DIR]... [--auto-new TEXT] [--stop-on-error] LOGFILE
// Runs the analysis pass over a log and writes its records, one a line, fields separated by
// TAB: every day, session, node and freq record, then the totals. Scripts and the reports read
// this output, so its form is fixed. Returns 0 when the whole log was read, 1 when the pass
// ended early, 2 for a usage, file, configuration or language error.
int RunAnalyzeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
