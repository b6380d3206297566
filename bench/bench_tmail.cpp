// The T-Mail analysis pass on a generated log of 2 million lines: from memory and from the
// file, and the whole `tarvex-cli analyze` command, against `wc -l` on the same file. Prints
// name<TAB>value<TAB>unit lines.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "benchutil.h"
#include "host/userinterface.h"
#include "base/datetime.h"
#include "parsers/tmaillog.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::bench;
namespace fs = std::filesystem;

namespace {

// The engine alone: day keys and line handling, no parser work. The floor under any style.
class TNullStyle : public TMailerLog
{
public:
    TNullStyle() : TMailerLog(lsTMail)
    {
        MsgCol = 16;
        DayKeyLen = 5;
    }
    void ParseLine(std::string_view) override {}
    TDateTime TimeOfLine(std::string_view) override { return 0; }
    TDateTime DateOfLine(std::string_view) override { return 0; }
    void LoadConfig() override {}
};

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 2000000;
    const fs::path dir = fs::temp_directory_path() / ("tarvex_bench_tmail_" + std::to_string(::getpid()));
    fs::create_directories(dir);

    TMailDirOptions dirOptions;
    WriteTMailDir(dir.string(), dirOptions);
    SetDriveMap({{'C', dir.string()}});
    SetProgramStartDate(EncodeDate(2026, 6, 1));

    TMailLogOptions logOptions;
    logOptions.Lines = lines;
    logOptions.Seed = 7;
    const std::string text = BuildTMailLog(logOptions, dirOptions.Phrases);
    const std::string logPath = (dir / "t-mail.log").string();
    WriteWholeFile(logPath, text);

    TTmailLog log;
    log.MailerPath = dir.string();
    log.Path = logPath;
    TQuietUi ui;

    bool ok = true;
    const double memory = BestOf(3, [&] { ok = log.Analyze(ui, {}, text) && ok; });
    const double file = BestOf(3, [&] { ok = log.Analyze(ui, {}) && ok; });
    TNullStyle null;
    const double engine = BestOf(3, [&] { ok = null.Analyze(ui, {}, text) && ok; });
    // The whole command as a user runs it: a new process, the records written to a file.
    const std::string cli = std::string("'") + TARVEX_CLI + "' analyze --style T-mail --mailer-path '" + dir.string() +
                            "' --drive 'C=" + dir.string() + "' --year 2026 '" + logPath + "' > '" +
                            (dir / "analyze.out").string() + "' 2> '" + (dir / "analyze.err").string() + "'";
    const double command = BestOf(3, [&] {
        if (std::system(cli.c_str()) != 0)
            ok = false;
    });
    const std::string wc = "wc -l '" + logPath + "' > /dev/null";
    const double wcTime = BestOf(3, [&] {
        if (std::system(wc.c_str()) != 0)
            ok = false;
    });

    std::printf("tmail.lines\t%d\tlines\n", log.LinesRead);
    std::printf("tmail.bytes\t%zu\tbytes\n", text.size());
    std::printf("tmail.sessions\t%d\tsessions\n", log.SessCount);
    std::printf("tmail.pass_memory_ms\t%.1f\tms\n", memory * 1000);
    std::printf("tmail.pass_file_ms\t%.1f\tms\n", file * 1000);
    std::printf("engine.empty_pass_ms\t%.1f\tms\n", engine * 1000);
    std::printf("tmail.wc_ms\t%.1f\tms\n", wcTime * 1000);
    std::printf("tmail.lines_per_sec\t%.0f\tlines/s\n", static_cast<double>(log.LinesRead) / memory);
    std::printf("tmail.ratio_to_wc\t%.2f\tx\n", file / wcTime);
    std::printf("cli.analyze_ms\t%.1f\tms\n", command * 1000);
    std::printf("cli.analyze_ratio_to_wc\t%.2f\tx\n", command / wcTime);

    ClearDriveMap();
    fs::remove_all(dir);
    return ok ? 0 : 1;
}
