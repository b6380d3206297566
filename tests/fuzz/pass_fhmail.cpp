// The FHMail style's whole pass over arbitrary log bytes, against a mailer directory made by our
// fixture generator (fhmail.cfg naming its language file and alias list through a define on
// drive C:, the language file, the alias list).
#include <string>

#include "base/datetime.h"
#include "fhmaildir.h"
#include "fuzzsupport.h"
#include "parsers/fhmaillog.h"
#include "passwalk.h"
#include "platform/paths.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_fhmail") + "/mailer";
        fixtures::WriteFHMailDir(d, fixtures::TFHMailDirOptions());
        SetDriveMap({{'C', d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFHMailLog log;
    log.MailerPath = MailerDir();
    fuzz::AnalyzeAndWalk(log, fuzz::AsText(data, size));
    return 0;
}
