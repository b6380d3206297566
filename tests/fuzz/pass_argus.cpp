// The Argus style's whole pass over arbitrary log bytes. Argus reads no mailer files, so its
// mailer directory is an empty folder.
#include <filesystem>
#include <string>

#include "base/datetime.h"
#include "fuzzsupport.h"
#include "parsers/arguslog.h"
#include "passwalk.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_argus") + "/mailer";
        std::error_code ec;
        std::filesystem::create_directories(d, ec);
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TArgusLog log;
    log.MailerPath = MailerDir();
    fuzz::AnalyzeAndWalk(log, fuzz::AsText(data, size));
    return 0;
}
