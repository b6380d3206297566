#include "log/setupcheck.h"

#include "log/mailerlog.h"
#include "platform/paths.h"

namespace tarvex {

std::string LogPathProblem(const TLog& log)
{
    if (log.Path.empty())
        return "No log file given";
    const std::string local = ResolvePath(log.Path);
    if (DirectoryExists(local))
        return "This is a folder, not a log file";
    if (!FileExists(local))
        return "No file at this path";
    return {};
}

std::string MailerPathProblem(const TLog& log)
{
    const auto* mailer = dynamic_cast<const TMailerLog*>(&log);
    if (!mailer)
        return {};
    const std::string config = mailer->ConfigFile();
    if (config.empty())
        return {};
    // The file's name as the user knows it ("t-mail.ctl", "cfg\sf-mail.cfg"): what follows
    // the mailer folder.
    std::string name = config;
    const std::string& folder = mailer->MailerPath;
    if (!folder.empty() && name.compare(0, folder.size(), folder) == 0) {
        name.erase(0, folder.size());
        if (!name.empty() && (name[0] == '\\' || name[0] == '/'))
            name.erase(0, 1);
    }
    if (folder.empty())
        return "No mailer folder given: " + name + " cannot be found";
    if (!DirectoryExists(ResolvePath(folder)))
        return "No folder at this path";
    if (!FileExists(ResolvePath(config)))
        return "The folder holds no " + name + ", the mailer's configuration file";
    return {};
}

}  // namespace tarvex
