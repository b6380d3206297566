#pragma once
#include <string>

#include "log/tlog.h"

namespace tarvex {

// Why a log's paths would let the user down when the log is opened, for the warnings of the
// setup dialog; empty when nothing looks wrong. These only warn: a path may lie on a disk that
// is not mounted yet, so nothing is refused on their word.

// The log file: none given, nothing there, or a folder.
std::string LogPathProblem(const TLog& log);
// The mailer folder of a style that reads a configuration file: none given, no such folder,
// or no configuration file of the style in it (found case-blind, as the analysis finds it).
// Empty for styles that read none.
std::string MailerPathProblem(const TLog& log);

}  // namespace tarvex
