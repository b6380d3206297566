#include "cliusage.h"

#include <ostream>

#include "platform/paths.h"
#include "styles/logfactory.h"

bool IsHelpArgument(std::string_view arg) { return arg == "--help" || arg == "-h"; }

std::string UnknownArgument(std::string_view arg)
{
    const bool option = arg.size() > 1 && arg[0] == '-';
    return std::string(option ? "unknown option '" : "unexpected argument '") + std::string(arg) + "'";
}

std::string UnknownStyle(std::string_view text)
{
    return "unknown style '" + std::string(text) + "' (" + tarvex::StyleChoices() + ")";
}

std::string WhyUnreadable(const std::string& localPath)
{
    if (tarvex::DirectoryExists(localPath))
        return "is a directory";
    return tarvex::FileExists(localPath) ? "cannot be read" : "no such file";
}

void SayUsageError(std::ostream& err, std::string_view command, std::string_view what, std::string_view usage)
{
    err << "tarvex-cli " << command << ": " << what << "\n" << usage;
}
