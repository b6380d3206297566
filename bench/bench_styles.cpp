// The Brake!, Bink/+, FHMail, SF-Mail and Argus analysis passes beside the T-Mail pass, each on a generated log of
// 2 million lines read from its file, against `wc -l` on the same file. The ratio to wc is the
// figure to compare across styles; ns_per_byte says the same per byte of log.
// Prints name<TAB>value<TAB>unit lines.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "arguslog.h"
#include "base/datetime.h"
#include "benchutil.h"
#include "binkdir.h"
#include "binklog.h"
#include "brakedir.h"
#include "brakelog.h"
#include "fhmaildir.h"
#include "sfmaildir.h"
#include "parsers/arguslog.h"
#include "parsers/binkplog.h"
#include "parsers/brakelog.h"
#include "parsers/fhmaillog.h"
#include "parsers/sfmaillog.h"
#include "parsers/tmaillog.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::bench;
namespace fs = std::filesystem;

namespace {

bool g_ok = true;

// Times the pass over the file at log.Path and wc -l over it; prints the style's figures.
void Measure(const char* name, TMailerLog& log, std::size_t bytes)
{
    TQuietUi ui;
    const double pass = BestOf(3, [&] { g_ok = log.Analyze(ui, {}) && g_ok; });
    const std::string wc = "wc -l '" + log.Path + "' > /dev/null";
    const double wcTime = BestOf(3, [&] {
        if (std::system(wc.c_str()) != 0)
            g_ok = false;
    });
    std::printf("%s.lines\t%d\tlines\n", name, log.LinesRead);
    std::printf("%s.bytes\t%zu\tbytes\n", name, bytes);
    std::printf("%s.sessions\t%d\tsessions\n", name, log.SessCount);
    std::printf("%s.questions\t%ld\tquestions\n", name, ui.Questions);
    std::printf("%s.pass_file_ms\t%.1f\tms\n", name, pass * 1000);
    std::printf("%s.ns_per_byte\t%.2f\tns\n", name, pass * 1e9 / static_cast<double>(bytes));
    std::printf("%s.ratio_to_wc\t%.2f\tx\n", name, pass / wcTime);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 2000000;
    const fs::path root = fs::temp_directory_path() / ("tarvex_bench_styles_" + std::to_string(::getpid()));
    const fs::path tmailDir = root / "t-mail", brakeDir = root / "brake", binkDir = root / "bink";
    const fs::path fhDir = root / "fhmail", sfDir = root / "sf-mail", argusDir = root / "argus";
    SetProgramStartDate(EncodeDate(2026, 6, 1));

    {
        TMailDirOptions options;
        WriteTMailDir(tmailDir.string(), options);
        TMailLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        const std::string text = BuildTMailLog(logOptions, options.Phrases);
        TTmailLog log;
        log.MailerPath = tmailDir.string();
        log.Path = (tmailDir / "t-mail.log").string();
        WriteWholeFile(log.Path, text);
        SetDriveMap({{'C', tmailDir.string()}});
        Measure("tmail", log, text.size());
    }
    for (const int version : {TBrakeLog::kOldVersion, TBrakeLog::kNewVersion}) {
        WriteBrakeDir(brakeDir.string(), TBrakeDirOptions());
        TBrakeLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        logOptions.Version = version;
        const std::string text = BuildBrakeLog(logOptions);
        TBrakeLog log;
        log.BrkVersion = version;
        log.MailerPath = brakeDir.string();
        log.Path = (brakeDir / "brake.log").string();
        WriteWholeFile(log.Path, text);
        SetDriveMap({{'C', brakeDir.string()}});
        Measure(version == TBrakeLog::kOldVersion ? "brake" : "brake703", log, text.size());
    }
    {
        const TBinkDirOptions options;
        WriteBinkDir(binkDir.string(), options);
        TBinkLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        const std::string text = BuildBinkLog(logOptions, options.Phrases);
        TBinkPLog log;
        log.MailerPath = binkDir.string();
        log.Path = (binkDir / "binkley.log").string();
        WriteWholeFile(log.Path, text);
        SetDriveMap({{'C', binkDir.string()}});
        Measure("binkp", log, text.size());
    }
    {
        const TFHMailDirOptions options;
        WriteFHMailDir(fhDir.string(), options);
        TFHMailLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        const std::string text = BuildFHMailLog(logOptions, options.Phrases);
        TFHMailLog log;
        log.MailerPath = fhDir.string();
        log.Path = (fhDir / "fhmail.log").string();
        WriteWholeFile(log.Path, text);
        SetDriveMap({{'C', fhDir.string()}});
        Measure("fhmail", log, text.size());
    }
    {
        const TSFMailDirOptions options;
        WriteSFMailDir(sfDir.string(), options);
        TSFMailLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        const std::string text = BuildSFMailLog(logOptions, options.Phrases);
        TSFMailLog log;
        log.MailerPath = sfDir.string();
        log.Path = (sfDir / "sf-mail.log").string();
        WriteWholeFile(log.Path, text);
        Measure("sfmail", log, text.size());
    }
    {
        fs::create_directories(argusDir);
        TArgusLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        const std::string text = BuildArgusLog(logOptions);
        TArgusLog log;
        log.Path = (argusDir / "argus.log").string();
        WriteWholeFile(log.Path, text);
        Measure("argus", log, text.size());
    }

    ClearDriveMap();
    fs::remove_all(root);
    return g_ok ? 0 : 1;
}
