// How soon `tarvex-cli follow` tells a session: a writer appends the lines up to the end of a
// session and flushes them, and the time until that session's line is on the command's standard
// output is taken, for many sessions, with pauses of random length between them so that the
// appends fall anywhere in the poll interval.
//   bench_follow [SESSIONS [POLLMS]]   default 40 sessions, the command's default of 250 ms
// Prints name<TAB>value<TAB>unit lines; the target is a latency within the poll interval + 50 ms.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/datetime.h"
#include "benchutil.h"
#include "childcli.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "prng.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::bench;
namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const int sessions = argc > 1 ? std::atoi(argv[1]) : 40;
    const int pollMs = argc > 2 ? std::atoi(argv[2]) : 250;
    const fs::path dir = fs::temp_directory_path() / ("tarvex_bench_follow_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TMailDirOptions dirOptions;
    WriteTMailDir(dir.string(), dirOptions);
    SetDriveMap({{'C', dir.string()}});
    SetProgramStartDate(EncodeDate(2026, 6, 1));
    TMailLogOptions logOptions;
    logOptions.Lines = 20000;
    logOptions.Seed = 11;
    logOptions.WithSeparators = false;
    const std::string text = BuildTMailLog(logOptions, dirOptions.Phrases);

    // Where each session ends in the text, and its line as the command prints it.
    TTmailLog log;
    log.MailerPath = dir.string();
    TQuietUi ui;
    log.Analyze(ui, {}, text);
    std::vector<std::size_t> lineEnds;  // byte offset after each line
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            lineEnds.push_back(i + 1);
    const std::int32_t first = log.SessCount / 2;
    const std::int32_t count = std::min(sessions, log.SessCount - first);

    const std::string path = (dir / "live.log").string();
    const std::size_t startAt = lineEnds[static_cast<std::size_t>(log.Session(first).StartLine) - 2];
    std::ofstream(path, std::ios::binary) << text.substr(0, startAt);
    tarvex::testing::TChildCli cli({TARVEX_CLI, "follow", "--style", "T-mail", "--mailer-path", dir.string(), "--drive",
                                    "C=" + dir.string(), "--year", "2026", "--poll-ms", std::to_string(pollMs), path},
                                   (dir / "follow.err").string());
    // The existing text is told first; its last session is the one before the first appended.
    const auto& before = log.Session(first - 1);
    if (!cli.WaitFor("session\t" + std::to_string(first - 1) + "\t" + std::to_string(before.StartLine) + "\t", 60000)) {
        std::fprintf(stderr, "follow did not tell the existing sessions\n");
        return 1;
    }

    std::vector<double> ms;
    SplitMix64 rng(5);
    std::size_t written = startAt;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    for (std::int32_t i = first; i < first + count; ++i) {
        const TSess& s = log.Session(i);
        const std::size_t upTo = lineEnds[static_cast<std::size_t>(s.EndLine) - 1];
        const std::string want = "session\t" + std::to_string(i) + "\t" + std::to_string(s.StartLine) + "\t" +
                                 std::to_string(s.EndLine) + "\t";
        out.write(text.data() + written, static_cast<std::streamsize>(upTo - written));
        out.flush();
        const auto t0 = std::chrono::steady_clock::now();
        written = upTo;
        if (!cli.WaitFor(want, 10 * pollMs + 5000)) {
            std::fprintf(stderr, "session %d was not told\n", i);
            return 1;
        }
        ms.push_back(Seconds(t0, std::chrono::steady_clock::now()) * 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(rng.Below(static_cast<std::uint32_t>(pollMs))));
    }
    cli.Signal(SIGTERM);
    const int code = cli.Finish();

    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("follow.poll_ms\t%d\tms\n", pollMs);
    std::printf("follow.sessions\t%zu\tsessions\n", ms.size());
    std::printf("follow.latency_ms\t%.1f\tms\n", sum / static_cast<double>(ms.size()));
    std::printf("follow.latency_median_ms\t%.1f\tms\n", ms[ms.size() / 2]);
    std::printf("follow.latency_max_ms\t%.1f\tms\n", ms.back());
    std::printf("follow.latency_target_ms\t%d\tms\n", pollMs + 50);
    std::printf("follow.exit_status\t%d\tcode\n", code);
    ClearDriveMap();
    fs::remove_all(dir);
    return code == 0 ? 0 : 1;
}
