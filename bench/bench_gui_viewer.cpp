// Load, index, paint and search figures of the log viewer on a generated mailer log.
// Usage: bench_gui_viewer [size in MiB, default 1024] [path, default /tmp/tarvex_bench_viewer.log]
// Memory figures: what the viewer holds for its text, and how the resident set grew.
#include <QApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

#include "viewer/logviewer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s\t%.3f\t%s\n", name, value, unit);
    std::fflush(stdout);
}

// The resident set of this process in MiB (Linux; 0 elsewhere).
double ResidentMib()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// Lines of about 60 bytes in the shape mailers write, LF and CR LF mixed.
bool Generate(const std::string& path, std::size_t bytes)
{
    static const char* const texts[] = {
        "Session with 2:5020/%u.%u", "Sending file %u.pkt (%u bytes)", "Received %u bytes, %u cps",
        "Calling 2:463/%u (%u), busy", "CONNECT %u/ARQ/V34/LAPM/V42BIS %u", "Error: carrier lost after %u s %u",
        "Freq: files.lst from 2:%u/%u"};
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::mt19937 rng(42);
    auto r = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
    std::string buf;
    std::size_t written = 0;
    unsigned sec = 0;
    char line[160];
    while (written < bytes) {
        buf.clear();
        while (buf.size() < (1u << 20)) {
            ++sec;
            const unsigned a = r(10000), b = r(100);
            char body[100];
            std::snprintf(body, sizeof body, texts[r(7)], a, b);
            const int n = std::snprintf(line, sizeof line, "%c %02u %s %02u:%02u:%02u [%u] %s%s", "+ :#~"[r(5)],
                                        1 + (sec / 86400) % 28, "Jan", (sec / 3600) % 24, (sec / 60) % 60, sec % 60,
                                        1000 + r(9000), body, r(4) ? "\n" : "\r\n");
            buf.append(line, static_cast<std::size_t>(n));
        }
        if (std::fwrite(buf.data(), 1, buf.size(), f) != buf.size()) {
            std::fclose(f);
            return false;
        }
        written += buf.size();
    }
    return std::fclose(f) == 0;
}

double TimeWc(const std::string& path)
{
    const std::string cmd = "wc -l < '" + path + "'";
    const auto t0 = Clock::now();
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    char out[64];
    while (std::fgets(out, sizeof out, p)) {
    }
    pclose(p);
    return Seconds(t0, Clock::now());
}

// A colouring in the manner of the log styles: date and time columns, then the first
// telling word decides the rest of the line.
struct StyleLike
{
    int DecidedLine = -1;
    int Decided = 0;
    int operator()(std::string_view word, int line, int col)
    {
        if (col >= 2 && col <= 11)
            return 1;
        if (line == DecidedLine)
            return Decided;
        if (word == "Error:" || word == "busy") {
            DecidedLine = line;
            return Decided = 2;
        }
        if (word == "Sending" || word == "Received") {
            DecidedLine = line;
            return Decided = 4;
        }
        if (word == "CONNECT") {
            DecidedLine = line;
            return Decided = 3;
        }
        return 0;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const std::string path = argc > 2 ? argv[2] : "/tmp/tarvex_bench_viewer.log";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (!Generate(path, mib << 20)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }

    LogViewer viewer;
    QString error;
    const double rssBefore = ResidentMib();
    // The first load brings the file into the page cache; the best of the next ones counts.
    viewer.LoadFromFile(QString::fromStdString(path), &error);
    double load = 1e9;
    for (int i = 0; i < 3; ++i) {
        viewer.Clear();
        const auto t0 = Clock::now();
        if (!viewer.LoadFromFile(QString::fromStdString(path), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        load = std::min(load, Seconds(t0, Clock::now()));
    }
    double wc = 1e9;
    for (int i = 0; i < 3; ++i)
        wc = std::min(wc, TimeWc(path));
    const double rssAfter = ResidentMib();
    const double bytes = static_cast<double>(viewer.Model().ByteCount());
    const double lines = static_cast<double>(viewer.LineCount());
    Print("viewer.file_mib", bytes / (1 << 20), "MiB");
    Print("viewer.lines", lines, "lines");
    Print("viewer.load_s", load, "s");
    Print("viewer.index_gbps", bytes / load / 1e9, "GB/s");
    Print("viewer.wc_s", wc, "s");
    Print("viewer.index_ratio_to_wc", load / wc, "x");
    Print("viewer.bytes_per_line", static_cast<double>(viewer.Model().IndexMemory()) / lines, "B/line");
    // What the viewer holds for its text: the index and the text's bytes or cached blocks, and
    // what the process's resident set grew by while it loaded.
    Print("viewer.held_mb", static_cast<double>(viewer.Model().IndexMemory() + viewer.Model().TextMemory()) / (1 << 20), "MiB");
    Print("viewer.rss_growth_mb", rssAfter - rssBefore, "MiB");

    // A full screen of 50 lines at random places, highlighting on.
    viewer.resize(1000, 800);
    viewer.show();
    viewer.resize(1000, viewer.height() - viewer.viewport()->height() + 50 * viewer.LineHeightPx());
    QApplication::processEvents();
    StyleLike style;
    viewer.SetHighlight(true);
    viewer.SetWordColorCallback(std::ref(style));
    QImage img(viewer.viewport()->size(), QImage::Format_RGB32);
    std::mt19937_64 rng(1);
    viewer.viewport()->render(&img);  // warm-up: fonts, glyph cache
    const int rounds = 50;
    double paint = 0;
    for (int i = 0; i < rounds; ++i) {
        viewer.SetFirstVisibleLine(static_cast<qint64>(rng() % static_cast<std::uint64_t>(viewer.LineCount())) + 1);
        const auto t0 = Clock::now();
        viewer.viewport()->render(&img);
        paint += Seconds(t0, Clock::now());
    }
    Print("viewer.visible_lines", viewer.VisibleLineCount(), "lines");
    Print("viewer.paint_ms", paint / rounds * 1000, "ms");

    auto timeFind = [&](const char* name, const QString& needle, bool matchCase) {
        const auto t0 = Clock::now();
        const bool found = viewer.FindFirst(needle, matchCase);
        const double s = Seconds(t0, Clock::now());
        if (found)
            std::fprintf(stderr, "%s: unexpectedly found\n", name);
        Print(name, bytes / s / 1e9, "GB/s");
    };
    // Absent, made of bytes that are everywhere in the log: the hard case.
    timeFind("viewer.find_gbps", "Session with 9:9999/", true);
    timeFind("viewer.find_nocase_gbps", "session with 9:9999/", false);
    timeFind("viewer.find_letters_nocase_gbps", "Session absent", false);
    Print("viewer.held_after_use_mb", static_cast<double>(viewer.Model().IndexMemory() + viewer.Model().TextMemory()) / (1 << 20), "MiB");
    Print("viewer.rss_after_use_mb", ResidentMib() - rssBefore, "MiB");
    return 0;
}
