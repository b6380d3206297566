#pragma once
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "log/mailerlog.h"

// The options every command that analyses a log shares (analyze, and the commands that write
// from an analysis), and the pass itself, so that they all read a log exactly alike.
struct TAnalysisOptions
{
    int Style = -1;
    std::string MailerPath;
    int Year = 0;                     // 0: the computer's year
    bool ShowDomain = false;
    int BrakeVersion = 0;             // 0: the style's default
    std::map<char, std::string> Drives;
    std::map<std::string, std::string> Environment;  // --env: %NAME% values of mailer files
    bool AutoNew = false;
    std::string AutoNewText;
    bool StopOnError = false;
    std::string LogFile;
    bool Help = false;                // --help or -h: the command shows its usage, nothing else
};

// "L=DIR" (the letter in either case) into drives; false for anything else.
bool TakeDriveMapping(const std::string& text, std::map<char, std::string>& drives);

// "NAME=VALUE" into names (a %NAME% a mailer's configuration uses without defining it); false
// for a text without a name before its '='.
bool TakeEnvironmentName(const std::string& text, std::map<std::string, std::string>& names);

// The usage lines of the shared options, for a command's own usage text.
extern const char* const kAnalysisOptionsUsage;

enum class TOptionTaken { Taken, NotOurs, Error };

// Adds the value of a "--drive L=DIR" option to drives; a malformed one is reported on err with
// prefix ("tarvex-cli COMMAND: ") and gives false.
bool TakeDriveMapping(const std::string& value, std::map<char, std::string>& drives, const std::string& prefix,
                      std::ostream& err);

// Takes args[i] (and its value, moving i past it) when it is a shared option or the log file.
// On Error the message, prefixed "tarvex-cli COMMAND: ", is already written to err.
TOptionTaken TakeAnalysisOption(const std::vector<std::string>& args, std::size_t& i, TAnalysisOptions& o,
                                const std::string& command, std::ostream& err);

// A command's own options, tried before the shared ones; taken like TakeAnalysisOption.
using TOwnOption = std::function<TOptionTaken(const std::vector<std::string>& args, std::size_t& i)>;

// Takes every argument: the command's own options first (when `own` is given), then the shared
// ones and the log file. False when one is unknown ("tarvex-cli COMMAND: unknown option" on err)
// or wrong (its message already on err): the command shows its usage then. A request for help
// stops the taking with Help set. Whether the style and the log file were given is left to
// AnalysisArgsComplete.
bool TakeAnalysisArgs(const std::vector<std::string>& args, TAnalysisOptions& o, const std::string& command,
                      const TOwnOption& own, std::ostream& err);

// Whether the style and the log file were given; otherwise says on err which is missing.
bool AnalysisArgsComplete(const TAnalysisOptions& o, const std::string& command, std::ostream& err);

// Whether a style that reads its mailer's files is told where they are; otherwise says on err
// that --mailer-path is missing. Without it the files are looked for in the current
// directory, so it is missing only when the style's configuration file is not there.
bool MailerPathKnown(const TAnalysisOptions& o, const std::string& command, std::ostream& err);

// Applies the year, address and drive settings (each run sets all three afresh), creates the
// log of the style and runs the pass, with questions on err answered OK (Cancel with
// StopOnError). Code is 0 when the whole log was read, 1 when the pass ended early, 2 when the
// style analyses nothing, the log cannot be read, or the configuration or language file stopped
// the pass before it began (the message is written to err then).
struct TAnalysisRun
{
    std::unique_ptr<tarvex::TLog> Log;
    tarvex::TMailerLog* Mailer = nullptr;
    int Code = 2;
    // While the run is kept, each drive letter guessed from the mailer path is reported on
    // err once (the command's later reading of mailer files may make guesses too).
    std::shared_ptr<void> GuessReport;
};

TAnalysisRun RunAnalysis(const TAnalysisOptions& o, std::ostream& err, const std::string& command);

// The same up to the pass: the settings applied, the log checked and its object made, the pass
// not run. Code is 2 (said on err) when the style analyses nothing or the log cannot be read;
// otherwise Mailer is set and Code is 0.
TAnalysisRun PrepareAnalysis(const TAnalysisOptions& o, std::ostream& err, const std::string& command);

// A fresh log object of the options' style, set up to read their log, for a pass that starts
// over.
std::unique_ptr<tarvex::TLog> MakeAnalysisLog(const TAnalysisOptions& o);
