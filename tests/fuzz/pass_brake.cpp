// The Brake! style's whole pass over arbitrary log bytes, against a mailer directory made by our
// fixture generator (brake!.ctl with its ALIAS lines and a TREE on a drive, the file areas
// below it). The lowest bit of the first byte picks which mailer generation's transfer lines
// are read, so both forms are fuzzed by the same inputs.
#include <string>

#include "base/datetime.h"
#include "brakedir.h"
#include "fuzzsupport.h"
#include "parsers/brakelog.h"
#include "passwalk.h"
#include "platform/paths.h"

using namespace tarvex;

namespace {

const std::string& MailerDir()
{
    static const std::string dir = [] {
        const std::string d = fuzz::ScratchDir("pass_brake") + "/mailer";
        const fixtures::TBrakeDirOptions opt;
        fixtures::WriteBrakeDir(d, opt);
        SetDriveMap({{opt.World.Drive, d}});
        SetProgramStartDate(EncodeDate(2026, 6, 15));
        return d;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::AsText(data, size);
    TBrakeLog log;
    log.MailerPath = MailerDir();
    log.BrkVersion = (fuzz::ByteAt(text, 0) & 1) != 0 ? TBrakeLog::kNewVersion : TBrakeLog::kOldVersion;
    fuzz::AnalyzeAndWalk(log, text);
    return 0;
}
