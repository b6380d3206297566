// The session list report of a generated 2-million-line T-Mail log: WriteReport of all its
// sessions, every column type, to a file. Prints report.sessions_mb_per_s and its parts.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/datetime.h"
#include "host/userinterface.h"
#include "parsers/tmaillog.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "report/reportwriter.h"
#include "report/sesscolumns.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 2000000;
    const fs::path dir = fs::temp_directory_path() / ("tarvex_bench_report_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TMailDirOptions dirOptions;
    WriteTMailDir(dir.string(), dirOptions);
    SetDriveMap({{'C', dir.string()}});
    SetProgramStartDate(EncodeDate(2026, 6, 1));
    TMailLogOptions logOptions;
    logOptions.Lines = lines;
    logOptions.Seed = 7;
    const std::string logPath = (dir / "t-mail.log").string();
    WriteWholeFile(logPath, BuildTMailLog(logOptions, dirOptions.Phrases));

    TTmailLog log;
    log.MailerPath = dir.string();
    log.Path = logPath;
    TScriptedUserInterface ui;
    log.Analyze(ui, {});

    // Every column type, in order, with widths that fit their texts.
    const int widths[kSessColumnTypes] = {14, 8, 20, 24, 20, 4, 4, 10, 10, 10, 10, 6};
    TSessColumnList columns;
    for (int t = 0; t < kSessColumnTypes; ++t) {
        auto c = std::make_unique<TSLColumn>();
        c->ColType = t;
        c->Heading = SessColumnNames[static_cast<std::size_t>(t)];
        c->ShowFile = true;
        c->FileWidth = widths[t];
        columns.Items.push_back(std::move(c));
    }
    columns.CountVisible();
    TReportOptions options;
    options.FileName = (dir / "sessions.rep").string();
    TReportStyle style;
    style.Now = [] { return 0.0; };
    const TRecordsView<TSess> sessions(log.Sessions, static_cast<std::size_t>(log.SessCount));

    double best = 1e30;
    std::size_t bytes = 0;
    for (int round = 0; round < 5; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        std::string error;
        if (!WriteReport<TSess>(columns, options, sessions, ui, style, error)) {
            std::fprintf(stderr, "report: %s\n", error.c_str());
            return 1;
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        bytes = static_cast<std::size_t>(fs::file_size(options.FileName));
    }
    // The table alone, without the file: where the time goes.
    double build = 1e30;
    // TARVEX_BENCH_ROUNDS: more rounds, for a profiler.
    const int buildRounds = std::getenv("TARVEX_BENCH_ROUNDS") ? std::atoi(std::getenv("TARVEX_BENCH_ROUNDS")) : 5;
    for (int round = 0; round < buildRounds; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::string r = BuildReport<TSess>(columns, options, sessions, ui, style);
        build = std::min(build, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        if (r.size() != bytes)
            return 1;
    }
    fs::remove_all(dir);
    std::printf("report.sessions\t%d\tsessions\n", log.SessCount);
    std::printf("report.sessions_bytes\t%zu\tbytes\n", bytes);
    std::printf("report.sessions_ms\t%.1f\tms\n", best * 1000);
    std::printf("report.sessions_build_ms\t%.1f\tms\n", build * 1000);
    std::printf("report.sessions_mb_per_s\t%.1f\tMB/s\n", static_cast<double>(bytes) / 1e6 / best);
    return 0;
}
