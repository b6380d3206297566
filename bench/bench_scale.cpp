// Peak memory and time of `tarvex-cli analyze` on a big generated T-Mail log, the command run as
// a user runs it with its records going to /dev/null.
// Usage: bench_scale [lines, default 44600000 (a log of about 2 GB)] [folder, default a temporary one]
// The log is written into the folder once and kept when the folder is given, so later runs (and
// other benches) can reuse it; a temporary folder is removed afterwards.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/datetime.h"
#include "benchutil.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 44600000;
    const bool keep = argc > 2;
    const fs::path dir = keep ? fs::path(argv[2]) : fs::temp_directory_path() / ("tarvex_bench_scale_" + std::to_string(::getpid()));
    const fs::path logPath = dir / "t-mail.log";
    if (!fs::exists(logPath)) {
        fs::create_directories(dir);
        TMailDirOptions dirOptions;
        WriteTMailDir(dir.string(), dirOptions);
        TMailLogOptions logOptions;
        logOptions.Lines = lines;
        logOptions.Seed = 7;
        WriteFileBytes(logPath.string(), BuildTMailLog(logOptions, dirOptions.Phrases));
    }
    const std::string cli = std::string("exec '") + TARVEX_CLI + "' analyze --style T-mail --mailer-path '" + dir.string() +
                            "' --drive 'C=" + dir.string() + "' --year 2026 '" + logPath.string() + "' > /dev/null 2>&1";
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = std::system(cli.c_str());
    const double seconds = bench::Seconds(t0, std::chrono::steady_clock::now());
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);

    std::printf("scale.log_mb\t%.0f\tMB\n", static_cast<double>(fs::file_size(logPath)) / (1 << 20));
    std::printf("scale.pass_peak_mb\t%.0f\tMB\n", static_cast<double>(usage.ru_maxrss) / 1024);
    std::printf("scale.pass_s\t%.2f\ts\n", seconds);
    if (!keep)
        fs::remove_all(dir);
    return rc == 0 ? 0 : 1;
}
