// The T-Mail style's whole pass over arbitrary log bytes, against a mailer directory made by our
// fixture generator (t-mail.ctl naming its files by drive paths, language, request index and
// directory list, aliases, a files index, file areas). After the pass everything a window shows
// is read back: every line's session and day, every record, the colour of every word.
#include <string>

#include "base/datetime.h"
#include "fuzzsupport.h"
#include "parsers/tmaillog.h"
#include "passwalk.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_tmail") + "/mailer";
        fixtures::TMailDirOptions opt;
        opt.PathStyle = fixtures::CtlPathStyle::DrivePaths;
        fixtures::WriteTMailDir(d, opt);
        SetDriveMap({{opt.World.Drive, d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TTmailLog log;
    log.MailerPath = MailerDir();
    fuzz::AnalyzeAndWalk(log, fuzz::AsText(data, size));
    return 0;
}
