// The analysis pass over a huge T-Mail log and over one line of 200 MB, headless: how long the
// pass goes at most between two of its calls to the front end (each is a chance to paint), and
// where in the log that was. A window paints only at those calls, so this is the pass's part of
// the longest time a log window goes without painting.
//   bench_hugelog [MB [LINEMB]]   the log's size (default 2048) and the one line's (default 200)
// Prints name<TAB>value<TAB>unit lines; peak memory is the process's, log bytes included.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "base/datetime.h"
#include "benchutil.h"
#include "parsers/tmaillog.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;
using namespace tarvex::bench;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// How many records the log held at a moment.
struct TCounts {
    std::size_t Sessions = 0, Days = 0, Freqs = 0;
    std::string Text() const
    {
        return "sessions " + std::to_string(Sessions) + ", days " +
               std::to_string(Days) + ", freqs " + std::to_string(Freqs);
    }
};

// Times the gaps between the pass's calls to the front end.
class TGapUi : public TQuietUi
{
public:
    explicit TGapUi(const TMailerLog& log) : Log(log) {}
    void KeepAlive() override { Tick(); }
    void Start()
    {
        Last = Clock::now();
        MaxGap = 0;
        GapLine = 0;
    }
    void Tick()
    {
        const auto now = Clock::now();
        const double gap = Seconds(Last, now);
        const TCounts counts{Log.Sessions.size(), Log.Days.size(), Log.Freqs.size()};
        if (gap > 0.1)
            std::fprintf(stderr, "    gap %.0f ms at line %d: [%s] to [%s]\n", gap * 1000, Log.LineNo,
                         LastCounts.Text().c_str(), counts.Text().c_str());
        if (gap > MaxGap) {
            MaxGap = gap;
            GapLine = Log.LineNo;
            GapBefore = LastCounts;
            GapAfter = counts;
        }
        Last = now;
        LastCounts = counts;
    }

    const TMailerLog& Log;
    Clock::time_point Last;
    double MaxGap = 0;
    std::int32_t GapLine = 0;
    // The records before and after the longest gap, to place it; every gap over 100 ms is told
    // on stderr too.
    TCounts LastCounts, GapBefore, GapAfter;
};

long PeakKBytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void Run(const char* name, const std::string& text, const std::string& mailerDir)
{
    TTmailLog log;
    log.MailerPath = mailerDir;
    TGapUi ui(log);
    ui.Start();
    const auto t0 = Clock::now();
    const bool whole = log.Analyze(ui, {}, text);
    ui.Tick();  // the pass's end counts: the window paints only after it returns
    const double total = Seconds(t0, Clock::now());
    std::printf("hugelog.%s_bytes\t%zu\tbytes\n", name, text.size());
    std::printf("hugelog.%s_lines\t%d\tlines\n", name, log.LinesRead);
    std::printf("hugelog.%s_sessions\t%d\tsessions\n", name, log.SessCount);
    std::printf("hugelog.%s_whole\t%d\tbool\n", name, whole ? 1 : 0);
    std::printf("hugelog.%s_max_gap_ms\t%.1f\tms\n", name, ui.MaxGap * 1000);
    std::printf("hugelog.%s_max_gap_line\t%d\tline\n", name, ui.GapLine);
    std::fprintf(stderr, "  %s: longest gap from [%s] to [%s]\n", name, ui.GapBefore.Text().c_str(), ui.GapAfter.Text().c_str());
    std::printf("hugelog.%s_pass_ms\t%.0f\tms\n", name, total * 1000);
    std::printf("hugelog.%s_peak_rss_mb\t%ld\tMB\n", name, PeakKBytes() / 1024);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t mb = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 2048;
    const std::size_t lineMb = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 200;
    const fs::path dir = fs::temp_directory_path() / ("tarvex_bench_hugelog_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TMailDirOptions dirOptions;
    WriteTMailDir(dir.string(), dirOptions);
    SetDriveMap({{'C', dir.string()}});
    SetProgramStartDate(EncodeDate(2026, 6, 1));

    {
        // A generated log repeated up to the size: every copy brings its days, sessions and
        // requests again, as years of a real log would.
        TMailLogOptions logOptions;
        logOptions.Lines = 200000;
        logOptions.Seed = 7;
        logOptions.WithSeparators = false;  // each would stop the pass with a question
        const std::string block = BuildTMailLog(logOptions, dirOptions.Phrases);
        std::string text;
        text.reserve(mb << 20);
        while (text.size() < (mb << 20))
            text.append(block, 0, std::min(block.size(), (mb << 20) - text.size()));
        Run("huge", text, dir.string());
    }
    {
        // One line of a T-Mail layout that never ends: date, time, then a message of megabytes.
        std::string text = "01/06 10:00:00  ";
        text.append(lineMb << 20, 'x');
        Run("oneline", text, dir.string());
    }

    ClearDriveMap();
    fs::remove_all(dir);
    return 0;
}
