// How fast a traffic file of 100,000 nodes is read, sorted three ways and turned into its
// report, and a history file of 100,000 sessions read; the files are written once to disk.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tmail/history.h"
#include "tmail/traffic.h"
#include "tmailfixture.h"

namespace {

template <class F>
double TimeMs(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    using namespace tarvex;
    using namespace tarvex::fixtures;
    constexpr std::size_t kCount = 100000;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tarvex-bench-traffic";
    std::filesystem::create_directories(dir);
    WriteTMailLineFiles(dir.string(), 1, kCount, 42, false);

    // The first read after writing, then one from the page cache as a reopened window does.
    TTrafficTable table;
    std::printf("traffic_load_100k_first\t%.1f\tms\n",
                TimeMs([&] { LoadTrafficFile((dir / TrafficFileName(1)).string(), table); }));
    std::printf("traffic_load_100k\t%.1f\tms\n",
                TimeMs([&] { LoadTrafficFile((dir / TrafficFileName(1)).string(), table); }));
    const char* const names[] = {"", "address", "sessions", "traffic"};
    for (int mode = 1; mode <= 3; ++mode) {
        TTrafficTable copy = table;
        std::printf("traffic_sort_%s_100k\t%.1f\tms\n", names[mode],
                    TimeMs([&] { SortTraffic(copy.Entries, static_cast<TTrafficSort>(mode)); }));
    }
    std::string report;
    std::printf("traffic_report_100k\t%.1f\tms\n",
                TimeMs([&] { report = TrafficReport(table.Entries, table.Totals, nullptr); }));
    std::printf("traffic_report_bytes\t%zu\tbytes\n", report.size());

    THistoryTable history;
    std::printf("history_load_100k\t%.1f\tms\n",
                TimeMs([&] { LoadHistoryFile((dir / HistoryFileName(1)).string(), history); }));
    std::printf("history_records\t%zu\trecords\n", history.Records.size());
    std::filesystem::remove_all(dir);
    return 0;
}
