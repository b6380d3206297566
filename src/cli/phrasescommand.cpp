#include "phrasescommand.h"

#include <memory>
#include <map>
#include <ostream>
#include <string_view>

#include "analysisrun.h"
#include "cliusage.h"
#include "recordwriter.h"

#include "base/errors.h"
#include "base/logutils.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/qparser.h"
#include "mailercfg/stylephrases.h"
#include "log/mailerlog.h"
#include "styles/logfactory.h"
#include "platform/envnames.h"
#include "platform/paths.h"

namespace {

const char* const kUsage = "usage: tarvex-cli phrases --style STYLE --mailer-path DIR [--drive L=DIR]...\n"
                           "          [--env NAME=VALUE]...\n"
                           "  STYLE: T-mail (1), Bink/+ (5), FHMail (6) or SF-Mail (7)\n";

int UsageError(std::ostream& err, const std::string& what)
{
    SayUsageError(err, "phrases", what, kUsage);
    return 2;
}

}  // namespace

std::string EscapePhrase(const std::string& s) { return EscapeField(s); }

int RunPhrasesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string styleText;
    std::string mailerPath;
    bool haveStyle = false;
    bool havePath = false;
    std::map<char, std::string> drives;
    std::map<std::string, std::string> environment;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsHelpArgument(a)) {
            out << kUsage;
            return 0;
        }
        if (a == "--drive" || a.rfind("--drive=", 0) == 0) {
            const std::string v = a == "--drive" ? (i + 1 < args.size() ? args[++i] : std::string()) : a.substr(8);
            if (!TakeDriveMapping(v, drives))
                return UsageError(err, "bad drive mapping '" + v + "' (LETTER=DIR)");
        } else if (a == "--env") {
            const std::string v = i + 1 < args.size() ? args[++i] : std::string();
            if (!TakeEnvironmentName(v, environment))
                return UsageError(err, "bad environment name '" + v + "' (NAME=VALUE)");
        } else if (a == "--style" || a == "--mailer-path") {
            if (i + 1 >= args.size())
                return UsageError(err, a + " needs a value");
            (a == "--style" ? styleText : mailerPath) = args[++i];
            (a == "--style" ? haveStyle : havePath) = true;
        } else if (a.rfind("--style=", 0) == 0) {
            styleText = a.substr(8);
            haveStyle = true;
        } else if (a.rfind("--mailer-path=", 0) == 0) {
            mailerPath = a.substr(14);
            havePath = true;
        } else {
            return UsageError(err, UnknownArgument(a));
        }
    }
    if (!haveStyle)
        return UsageError(err, "--style is missing");
    if (!havePath)
        return UsageError(err, "--mailer-path is missing");
    const int style = tarvex::ParseStyle(styleText);
    if (style < 0)
        return UsageError(err, UnknownStyle(styleText));
    // The style's parser lists the phrases it takes, so the list and the parser never disagree.
    const std::unique_ptr<tarvex::TLog> log = tarvex::CreateLog(style);
    auto* mailer = dynamic_cast<tarvex::TMailerLog*>(log.get());
    const bool styleKnowsPhrases = mailer && mailer->ReadsLanguage();
    if (!styleKnowsPhrases) {
        err << "tarvex-cli phrases: the style '" << styleText << "' reads no language file\n";
        return 2;
    }

    // A mailer path or a language file named on a drive letter goes through the map.
    tarvex::SetDriveMap(drives);
    tarvex::SetEnvironmentNames(environment);
    tarvex::SetDriveGuessBase(mailerPath);
    try {
        mailer->MailerPath = mailerPath;
        tarvex::TScriptedUserInterface ui;  // the failures are told below, with their reason
        mailer->ReadLanguage(ui);
        const std::vector<std::pair<std::string, std::string>> phrases = mailer->TakenPhrases();
        for (const auto& [id, phrase] : phrases)
            out << id << '\t' << EscapePhrase(phrase) << '\n';
    } catch (const tarvex::ELngError& e) {
        err << tarvex::CannotOpenLngMessage << '\n' << e.what() << '\n';
        return 2;
    } catch (const tarvex::EQParserError& e) {
        if (e.LineNo != 0)
            err << "Error loading config file (file " << e.ShownFileName() << ", line " << e.LineNo << "): " << e.what()
                << '\n';
        else
            err << "Error loading config file: " << e.what() << '\n';
        return 2;
    } catch (const std::exception& e) {
        err << "Error loading config file: " << e.what() << '\n';
        return 2;
    }
    out.flush();
    return 0;
}
