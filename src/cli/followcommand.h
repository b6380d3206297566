#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// tarvex-cli follow --style STYLE [the analyze options] [--poll-ms N] LOGFILE
// Analyses the log, then follows it as the mailer writes on, looking every N milliseconds
// (250 by default): each day's `day` line when the day starts and each session's `session`
// line when it ends, in analyze's form, written at once; `restart` when the log is cut short,
// written anew or rotated, and the analysis starts over. On SIGINT or SIGTERM it reads what is
// there, writes the `node`, `freq` and `total` lines analyze would write for the text read, and
// returns 0. So the `day` and `session` lines since the last `restart`, with that last block,
// are analyze's output on the same text. Returns 1 after the last block when the pass ended
// early or the log was removed or could not be read on, 2 as analyze does before following.
int RunFollowCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
