#pragma once
// What the style pass targets do once a pass is over: read back everything a log window and its
// views show, so that a record the pass left inconsistent is touched while the sanitizers watch.
#include <string_view>

#include "log/mailerlog.h"

namespace tarvex::fuzz {

// Runs the pass over the text, with an AutoNew mark somewhere in it (the first 20 bytes of its
// middle), then walks what it made: every line's session and day, every day's nodes, every
// session and file request, and the colour and date of the lines as a viewer asks for them.
void AnalyzeAndWalk(TMailerLog& log, std::string_view text);

}  // namespace tarvex::fuzz
