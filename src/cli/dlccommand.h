#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli dlc --style STYLE [--mailer-path DIR] [--year YYYY] [--brake-version N]
//                [--drive L=DIR]... [--auto-new TEXT] [--dlc-left C] [--dlc-right C]
//                [--dlc-digits N] [--dlc-lead C] [--dlc-backup 0|1] [--dry-run] LOGFILE
// Analyses the log as `analyze` does, then raises the download counters in the files.bbs
// lists for the requests the log window would process, through the same code. One line per
// request on out, TAB-separated: "dlc", its index in the request list, the file name, then
// "updated" or "appended" with the files.bbs path (as the mailer's paths name it) and the new
// counter, or "not-sent", "not-found", "no-list" with the path, or the message the window
// would show; then "total", requests processed, lists updated, lines appended. With --dry-run
// nothing is rewritten. Returns the code of `analyze`, and 1 when a files.bbs could not be
// rewritten (it is then left as it was).
int RunDlcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
