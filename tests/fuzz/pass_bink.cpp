// The Bink/+ style's whole pass over arbitrary log bytes, against a mailer directory made by our
// fixture generator (binkley.cfg with defines, About, Avail and OkFile naming DOS paths on a
// drive; binkley.lng; the OkFile; the file areas).
#include <string>

#include "base/datetime.h"
#include "binkdir.h"
#include "fuzzsupport.h"
#include "parsers/binkplog.h"
#include "passwalk.h"
#include "platform/paths.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_bink") + "/mailer";
        const fixtures::TBinkDirOptions opt;
        fixtures::WriteBinkDir(d, opt);
        SetDriveMap({{opt.World.Drive, d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBinkPLog log;
    log.MailerPath = MailerDir();
    fuzz::AnalyzeAndWalk(log, fuzz::AsText(data, size));
    return 0;
}
