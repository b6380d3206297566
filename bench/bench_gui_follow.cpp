// A log window following a T-Mail log that a writer appends to.
//   bench_gui_follow [--idle-seconds N] [--sustained-seconds N] [--lines-per-second N]
// follow.gui_latency_ms: a dozen lines appended and flushed, to the paint of the window that
// shows the last of them (the caret on the last line, so the view scrolls with it); many times,
// with pauses of random length between. Target 250 ms.
// follow.idle_cpu_percent: the process's CPU time over the wall time while the window follows
// a log nobody writes to (default 10 s; the target is stated for 60 s). Target 1 %.
// follow.sustained_*: a writer thread appends lines at a steady rate (default 2000 lines/s for
// 10 s) into the window with its session list open; the lag of the window behind the file is
// sampled every half second (its maximum over the first and the second half tells whether it
// grows), the time to catch up after the writer stops, and the growth of the process's memory
// against the bytes appended.
// Prints name<TAB>value<TAB>unit lines.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "guibench.h"
#include "prng.h"
#include "viewer/logviewer.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"

namespace {

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double ResidentMb()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Records when the viewer last painted and how many lines it had then.
class TPaintWatch : public QObject
{
public:
    explicit TPaintWatch(LogViewer* v) : Viewer(v) { v->viewport()->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            Lines = Viewer->LineCount();
            Clock.restart();
            ++Paints;
        }
        return false;
    }
    LogViewer* Viewer;
    qint64 Lines = 0;
    int Paints = 0;
    QElapsedTimer Clock;
};

// The event loop for ms milliseconds, asleep while there is nothing to do.
void RunFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int idleSeconds = 10, sustainedSeconds = 10, rate = 2000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--idle-seconds"))
            idleSeconds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--sustained-seconds"))
            sustainedSeconds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--lines-per-second"))
            rate = std::atoi(argv[i + 1]);
    }
    constexpr std::size_t kOpening = 20000, kLatencyRounds = 30;
    const std::size_t more = static_cast<std::size_t>(rate) * static_cast<std::size_t>(sustainedSeconds) + 2000;

    QTemporaryDir dir;
    const std::string mailerDir = QDir(dir.path()).filePath("t-mail").toStdString();
    const std::string logPath = QDir(dir.path()).filePath("t-mail.log").toStdString();
    tarvex::fixtures::TMailDirOptions dirOptions;
    tarvex::fixtures::WriteTMailDir(mailerDir, dirOptions);
    tarvex::fixtures::TMailLogOptions logOptions;
    logOptions.Lines = kOpening + more;
    logOptions.Seed = 11;
    logOptions.WithSeparators = false;
    const std::string text = tarvex::fixtures::BuildTMailLog(logOptions, dirOptions.Phrases);
    std::vector<std::size_t> lineEnds;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n')
            lineEnds.push_back(i + 1);
    std::size_t written = lineEnds[kOpening - 1];
    tarvex::fixtures::WriteFileBytes(logPath, text.substr(0, written));

    TFrameForm frame(std::make_unique<tarvex::TMemorySettings>(), std::make_unique<TQuietUi>());
    frame.resize(1100, 900);
    frame.show();
    auto log = tarvex::CreateLog(tarvex::lsTMail);
    log->Name = "bench";
    log->Path = logPath;
    static_cast<tarvex::TMailerLog*>(log.get())->MailerPath = mailerDir;
    tarvex::TLog* raw = log.get();
    frame.AddLogMenuItem(std::move(log));
    frame.OpenLog(raw);
    TChildForm* w = frame.WindowOfLog(raw);
    if (!w || !w->IsFollowing()) {
        std::fprintf(stderr, "the window does not follow the log\n");
        return 1;
    }
    auto* mailer = static_cast<tarvex::TMailerLog*>(raw);
    LogViewer* viewer = w->Viewer();
    TPaintWatch paints(viewer);
    std::ofstream out(logPath, std::ios::binary | std::ios::app);
    RunFor(300);

    // Latency: a dozen lines at a time, the caret on the last line.
    w->GotoLine(static_cast<std::int32_t>(viewer->LineCount()));
    std::vector<double> latency;
    tarvex::fixtures::SplitMix64 rng(5);
    for (std::size_t k = 0; k < kLatencyRounds; ++k) {
        std::size_t upTo = written;
        std::size_t lines = 0;
        while (lines < 12 && upTo < text.size()) {
            upTo = text.find('\n', upTo) + 1;
            ++lines;
        }
        const qint64 want = viewer->LineCount() + static_cast<qint64>(lines);
        out.write(text.data() + written, static_cast<std::streamsize>(upTo - written));
        out.flush();
        written = upTo;
        QElapsedTimer t;
        t.start();
        while (!(paints.Lines >= want && paints.Clock.isValid() && paints.Clock.nsecsElapsed() < t.nsecsElapsed()) &&
               t.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        latency.push_back(static_cast<double>(t.nsecsElapsed() - paints.Clock.nsecsElapsed()) / 1e6);
        RunFor(static_cast<int>(rng.Below(1000)));
    }
    double sum = 0, worst = 0;
    for (double v : latency) {
        sum += v;
        worst = std::max(worst, v);
    }
    std::printf("follow.gui_latency_ms\t%.1f\tms\n", sum / static_cast<double>(latency.size()));
    std::printf("follow.gui_latency_median_ms\t%.1f\tms\n", Median(latency));
    std::printf("follow.gui_latency_max_ms\t%.1f\tms\n", worst);
    std::fflush(stdout);

    // Idle: nothing is written; the window keeps following.
    {
        RunFor(500);
        const double cpu0 = CpuSeconds();
        QElapsedTimer t;
        t.start();
        RunFor(idleSeconds * 1000);
        const double wall = static_cast<double>(t.elapsed()) / 1000.0;
        std::printf("follow.idle_seconds\t%d\ts\n", idleSeconds);
        std::printf("follow.idle_cpu_percent\t%.3f\t%%\n", (CpuSeconds() - cpu0) / wall * 100.0);
        std::fflush(stdout);
    }

    // Sustained: a writer thread at a steady rate, the session list open.
    {
        w->ShowSessionList();
        RunFor(300);
        const double rss0 = ResidentMb();
        const std::size_t bytes0 = viewer->Model().ByteCount();
        std::atomic<std::size_t> fileBytes{written};
        std::atomic<bool> stop{false};
        // The index of the first line not written yet.
        const std::size_t next = static_cast<std::size_t>(std::upper_bound(lineEnds.begin(), lineEnds.end(), written) - lineEnds.begin());
        const std::size_t total = std::min(static_cast<std::size_t>(rate) * static_cast<std::size_t>(sustainedSeconds), lineEnds.size() - next);
        std::thread writer([&] {
            // Every 10 ms the lines due by then, flushed.
            const auto t0 = std::chrono::steady_clock::now();
            std::size_t done = 0, at = written;
            for (int k = 1; done < total; ++k) {
                std::this_thread::sleep_until(t0 + std::chrono::milliseconds(10 * k));
                const std::size_t due = std::min(total, static_cast<std::size_t>(k) * static_cast<std::size_t>(rate) / 100);
                if (due <= done)
                    continue;
                const std::size_t end = lineEnds[next + due - 1];
                out.write(text.data() + at, static_cast<std::streamsize>(end - at));
                out.flush();
                at = end;
                done = due;
                fileBytes = at;
            }
            stop = true;
        });
        QElapsedTimer t;
        t.start();
        double lagFirst = 0, lagSecond = 0;
        const double half = sustainedSeconds * 500.0;
        while (!stop) {
            RunFor(500);
            // In lines of the log's average length.
            const double lag = static_cast<double>(fileBytes.load()) - static_cast<double>(viewer->Model().ByteCount());
            const double lagLines = lag * static_cast<double>(lineEnds.size()) / static_cast<double>(text.size());
            double& most = static_cast<double>(t.elapsed()) < half ? lagFirst : lagSecond;
            most = std::max(most, lagLines);
        }
        writer.join();
        const double writeEnd = static_cast<double>(t.elapsed());
        const std::size_t target = fileBytes.load();
        while (viewer->Model().ByteCount() < target && static_cast<double>(t.elapsed()) < writeEnd + 30000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double catchUp = static_cast<double>(t.elapsed()) - writeEnd;
        const double textMb = static_cast<double>(viewer->Model().ByteCount() - bytes0) / (1024.0 * 1024.0);
        const double rssGrowth = ResidentMb() - rss0;
        std::printf("follow.sustained_lines_per_second\t%d\tlines/s\n", rate);
        std::printf("follow.sustained_seconds\t%d\ts\n", sustainedSeconds);
        std::printf("follow.sustained_lines\t%zu\tlines\n", total);
        std::printf("follow.sustained_lag_max_first_half\t%.0f\tlines\n", lagFirst);
        std::printf("follow.sustained_lag_max_second_half\t%.0f\tlines\n", lagSecond);
        std::printf("follow.sustained_catch_up_ms\t%.0f\tms\n", catchUp);
        std::printf("follow.sustained_text_growth_mb\t%.2f\tMB\n", textMb);
        std::printf("follow.sustained_rss_growth_mb\t%.2f\tMB\n", rssGrowth);
        // The records of the new lines (sessions, requests, the day's nodes) come with them: the
        // ratio stays the same for a longer run when nothing else grows.
        std::printf("follow.sustained_rss_per_text_ratio\t%.2f\tratio\n", textMb > 0 ? rssGrowth / textMb : 0.0);
        std::printf("follow.sustained_sessions_listed\t%d\tsessions\n", w->SessList ? w->SessList->Model->rowCount() : -1);
        std::printf("follow.sustained_sessions_analysed\t%d\tsessions\n", mailer->SessCount);
    }
    frame.close();
    return 0;
}
