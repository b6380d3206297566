#include "analysisrun.h"

#include <cctype>
#include <ostream>

#include "base/datetime.h"
#include "base/fidoaddr.h"
#include "base/logutils.h"
#include "batchui.h"
#include "cliusage.h"
#include "optionvalue.h"
#include "parsers/brakelog.h"
#include "platform/envnames.h"
#include "platform/paths.h"
#include "styles/logfactory.h"

using namespace tarvex;

const char* const kAnalysisOptionsUsage =
    "--style STYLE [--mailer-path DIR] [--year YYYY] [--show-domain] [--brake-version 701|703]\n"
    "          [--drive L=DIR]... [--env NAME=VALUE]... [--auto-new TEXT] [--stop-on-error] LOGFILE";

namespace {

void SetYear(int year)
{
    SetYearlessYear(year);
    int y = 0, m = 0, d = 0;
    DecodeDate(ProgramStartDate(), y, m, d);
    if (year == 0)
        return;
    if (m == 2 && d == 29 && !IsLeapYear(year))
        d = 28;
    SetProgramStartDate(EncodeDate(year, m, d));
}

}  // namespace

bool TakeDriveMapping(const std::string& text, std::map<char, std::string>& drives)
{
    const auto letter = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
    if (text.size() < 3 || letter > 127 || !std::isalpha(letter) || text[1] != '=')
        return false;
    drives[static_cast<char>(std::toupper(letter))] = text.substr(2);
    return true;
}

bool TakeDriveMapping(const std::string& value, std::map<char, std::string>& drives, const std::string& prefix,
                      std::ostream& err)
{
    if (TakeDriveMapping(value, drives))
        return true;
    err << prefix << "bad drive mapping '" << value << "' (LETTER=DIR)\n";
    return false;
}

bool TakeEnvironmentName(const std::string& text, std::map<std::string, std::string>& names)
{
    const std::size_t eq = text.find('=');
    if (eq == 0 || eq == std::string::npos || text.find('%') < eq)
        return false;
    names[text.substr(0, eq)] = text.substr(eq + 1);
    return true;
}

TOptionTaken TakeAnalysisOption(const std::vector<std::string>& args, std::size_t& i, TAnalysisOptions& o,
                                const std::string& command, std::ostream& err)
{
    const std::string& a = args[i];
    const std::string prefix = "tarvex-cli " + command + ": ";
    auto value = [&](std::string& into) { return TakeOptionValue(args, i, into, prefix, err); };
    std::string v;
    if (a == "--style") {
        if (!value(v))
            return TOptionTaken::Error;
        o.Style = ParseStyle(v);
        if (o.Style < 0) {
            err << prefix << UnknownStyle(v) << "\n";
            return TOptionTaken::Error;
        }
    } else if (a == "--mailer-path") {
        if (!value(o.MailerPath))
            return TOptionTaken::Error;
    } else if (a == "--year") {
        if (!value(v))
            return TOptionTaken::Error;
        if (!TryStrToInt(v, o.Year) || o.Year < 1 || o.Year > 9999) {
            err << prefix << "bad year '" << v << "'\n";
            return TOptionTaken::Error;
        }
    } else if (a == "--brake-version") {
        if (!value(v))
            return TOptionTaken::Error;
        if (!TryStrToInt(v, o.BrakeVersion) ||
            (o.BrakeVersion != TBrakeLog::kOldVersion && o.BrakeVersion != TBrakeLog::kNewVersion)) {
            err << prefix << "unknown Brake! version '" << v << "' (701 for 701-702, 703 for 703-715)\n";
            return TOptionTaken::Error;
        }
    } else if (a == "--drive") {
        if (!value(v))
            return TOptionTaken::Error;
        if (!TakeDriveMapping(v, o.Drives, prefix, err))
            return TOptionTaken::Error;
    } else if (a == "--env") {
        if (!value(v))
            return TOptionTaken::Error;
        if (!TakeEnvironmentName(v, o.Environment)) {
            err << prefix << "bad environment name '" << v << "' (NAME=VALUE)\n";
            return TOptionTaken::Error;
        }
    } else if (a == "--auto-new") {
        if (!value(o.AutoNewText))
            return TOptionTaken::Error;
        o.AutoNew = true;
    } else if (a == "--show-domain") {
        o.ShowDomain = true;
    } else if (a == "--stop-on-error") {
        o.StopOnError = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
        return TOptionTaken::NotOurs;
    } else if (o.LogFile.empty()) {
        o.LogFile = a;
    } else {
        err << prefix << "more than one log file given\n";
        return TOptionTaken::Error;
    }
    return TOptionTaken::Taken;
}

bool TakeAnalysisArgs(const std::vector<std::string>& args, TAnalysisOptions& o, const std::string& command,
                      const TOwnOption& own, std::ostream& err)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (IsHelpArgument(args[i])) {
            o.Help = true;
            return true;
        }
        TOptionTaken t = own ? own(args, i) : TOptionTaken::NotOurs;
        if (t == TOptionTaken::NotOurs)
            t = TakeAnalysisOption(args, i, o, command, err);
        if (t == TOptionTaken::NotOurs)
            err << "tarvex-cli " << command << ": " << UnknownArgument(args[i]) << "\n";
        if (t != TOptionTaken::Taken)
            return false;
    }
    return true;
}

bool AnalysisArgsComplete(const TAnalysisOptions& o, const std::string& command, std::ostream& err)
{
    const std::string prefix = "tarvex-cli " + command + ": ";
    if (o.Style < 0) {
        err << prefix << "--style is missing\n";
        return false;
    }
    if (o.LogFile.empty()) {
        err << prefix << "no log file given\n";
        return false;
    }
    return true;
}

bool MailerPathKnown(const TAnalysisOptions& o, const std::string& command, std::ostream& err)
{
    const std::string prefix = "tarvex-cli " + command + ": ";
    if (!o.MailerPath.empty() || !StyleHasAnalysis(o.Style))
        return true;
    const auto log = CreateLog(o.Style);
    const auto* mailer = dynamic_cast<const TMailerLog*>(log.get());
    const std::string config = mailer ? ResolvePath(mailer->ConfigFile()) : std::string();
    if (config.empty() || FileExists(config))
        return true;
    err << prefix << "--mailer-path is missing (" << StyleName(o.Style) << " reads " << config
        << " in the mailer's directory)\n";
    return false;
}

std::unique_ptr<TLog> MakeAnalysisLog(const TAnalysisOptions& o)
{
    std::unique_ptr<TLog> log = CreateLog(o.Style);
    auto* mailer = dynamic_cast<TMailerLog*>(log.get());
    if (!mailer)
        return log;
    mailer->Path = o.LogFile;
    mailer->MailerPath = o.MailerPath;
    mailer->AutoNew = o.AutoNew;
    mailer->LastStr = o.AutoNewText;
    if (auto* brake = dynamic_cast<TBrakeLog*>(mailer); brake && o.BrakeVersion != 0)
        brake->BrkVersion = o.BrakeVersion;
    return log;
}

TAnalysisRun PrepareAnalysis(const TAnalysisOptions& o, std::ostream& err, const std::string& command)
{
    TAnalysisRun run;
    if (!StyleHasAnalysis(o.Style)) {
        err << "tarvex-cli " << command << ": logs of style " << StyleName(o.Style)
            << " are shown only, not analysed\n";
        return run;
    }
    SetYear(o.Year);
    SetShowDomain(o.ShowDomain);
    SetDriveMap(o.Drives);
    SetEnvironmentNames(o.Environment);
    // Said before any configuration is read: the log itself is what was asked for.
    const std::string logPath = ResolvePath(o.LogFile);
    if (!FileExists(logPath)) {
        err << "Cannot open log file for analysis\n"
            << "tarvex-cli " << command << ": " << logPath << ": " << WhyUnreadable(logPath) << "\n";
        return run;
    }
    const std::string prefix = "tarvex-cli " + command + ": ";
    SetDriveGuessReport([&err, prefix](char letter, const std::string& dir) {
        err << prefix << "drive " << letter << ": taken as " << dir << " (guessed from the mailer path; --drive "
            << letter << "=DIR sets it)\n";
    });
    run.GuessReport = std::shared_ptr<void>(nullptr, [](void*) { SetDriveGuessReport({}); });
    run.Log = MakeAnalysisLog(o);
    run.Mailer = dynamic_cast<TMailerLog*>(run.Log.get());
    run.Code = 0;
    return run;
}

TAnalysisRun RunAnalysis(const TAnalysisOptions& o, std::ostream& err, const std::string& command)
{
    TAnalysisRun run = PrepareAnalysis(o, err, command);
    if (!run.Mailer)
        return run;
    TMailerLog& mailer = *run.Mailer;
    TBatchUserInterface ui(err, o.StopOnError);
    const bool whole = mailer.Analyze(ui, {});
    run.Code = !mailer.PassStarted ? 2 : whole ? 0 : 1;
    return run;
}
