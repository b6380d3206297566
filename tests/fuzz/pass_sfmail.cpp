// The SF-Mail style's whole pass over arbitrary log bytes, against a mailer directory made by
// our fixture generator (sf-mail.lng, cfg\sf-mail.cfg with defines, conditions and an include
// naming the freq alias list).
#include <string>

#include "base/datetime.h"
#include "fuzzsupport.h"
#include "parsers/sfmaillog.h"
#include "passwalk.h"
#include "platform/paths.h"
#include "sfmaildir.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_sfmail") + "/mailer";
        fixtures::WriteSFMailDir(d, fixtures::TSFMailDirOptions());
        SetDriveMap({{'C', d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TSFMailLog log;
    log.MailerPath = MailerDir();
    fuzz::AnalyzeAndWalk(log, fuzz::AsText(data, size));
    return 0;
}
