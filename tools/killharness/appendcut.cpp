// A mailer appends numbered lines to its log while `tarvex-cli cut` runs again and again.
// After every cut and at the end, the log must hold an unbroken run of numbers ending with
// the last one written: no line lost, none doubled.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "harness.h"
#include "prng.h"

using namespace harness;

namespace {

const char* const kUsage =
    "usage: appendcut --cli TARVEX-CLI --dir SCRATCH [--cuts N] [--mode reopen|open] [--interval-us U]\n"
    "                 [--kbytes K] [--seed S] [--max-lost N]\n"
    "  reopen: the writer opens, appends and closes for every line; open: it keeps the log open\n"
    "  in append mode. Prints appendcut<TAB>name<TAB>count lines; exits 1 when a line was doubled\n"
    "  or more than N (default 0) were lost.\n";

volatile sig_atomic_t Stop = 0;

std::string Line(std::uint64_t n)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "%010llu appended by the mailer while the log is cut, padding\n",
                  static_cast<unsigned long long>(n));
    return buf;
}

// The writer: appends lines first+1, first+2, ... until told to stop, then writes the last
// number to lastPath.
[[noreturn]] void Writer(const std::string& log, const std::string& lastPath, std::uint64_t first, bool reopen,
                         std::uint64_t intervalUs, std::uint64_t seed)
{
    struct sigaction sa {};
    sa.sa_handler = [](int) { Stop = 1; };
    ::sigaction(SIGTERM, &sa, nullptr);
    tarvex::fixtures::SplitMix64 rnd(seed);
    int fd = reopen ? -1 : ::open(log.c_str(), O_WRONLY | O_APPEND);
    std::uint64_t n = first;
    while (!Stop) {
        if (reopen)
            fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
        const std::string line = Line(n + 1);
        if (fd < 0 || ::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            ::_exit(4);
        ++n;
        if (reopen)
            ::close(fd);
        ::usleep(static_cast<useconds_t>(intervalUs / 2 + rnd.Below(static_cast<std::uint32_t>(intervalUs) + 1)));
    }
    WriteAll(lastPath, std::to_string(n));
    ::_exit(0);
}

struct TCheck
{
    std::uint64_t First = 0, Last = 0;
    std::set<std::uint64_t> Missing;  // numbers absent between First and Last
    std::uint64_t Doubled = 0;
};

// Reads the numbers of the log's whole lines; a last line still being written is left out.
TCheck Check(const std::string& text)
{
    TCheck c;
    std::size_t pos = 0;
    bool any = false;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string::npos)
            break;
        const std::uint64_t n = std::strtoull(text.c_str() + pos, nullptr, 10);
        if (!any) {
            c.First = n;
            any = true;
        } else if (n <= c.Last) {
            c.Doubled += c.Last - n + 1;
        } else {
            for (std::uint64_t m = c.Last + 1; m < n; ++m)
                c.Missing.insert(m);
        }
        c.Last = std::max(c.Last, n);
        pos = lf + 1;
    }
    return c;
}

}  // namespace

int main(int argc, char** argv)
{
    const TArgs args(argc, argv, kUsage);
    const std::string cli = args.Get("cli", "");
    const std::string dir = args.Get("dir", "");
    if (cli.empty() || dir.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    const std::uint64_t cuts = args.Number("cuts", 100);
    const bool reopen = args.Get("mode", "reopen") == "reopen";
    const std::uint64_t intervalUs = args.Number("interval-us", 1000);
    const std::uint64_t kbytes = args.Number("kbytes", 256);
    const std::uint64_t seed = args.Number("seed", 1);
    // A line appended between the cut's last look at the size and its truncation is lost, and
    // no system call closes that window; how often it happens is what this measures.
    const std::uint64_t maxLost = args.Number("max-lost", 0);
    tarvex::fixtures::SplitMix64 rnd(seed);

    Run({"/bin/mkdir", "-p", dir});
    const std::string log = dir + "/mailer.log";
    const std::string lastPath = dir + "/writer.last";
    const std::string outPath = dir + "/cut.out";
    Remove(log + ".cut");
    Remove(lastPath);
    // Twice the size the cut keeps, so that the first cut has something to do.
    std::string start;
    std::uint64_t first = 0;
    while (start.size() < kbytes * 2048)
        start += Line(++first);
    WriteAll(log, start);

    const pid_t writer = ::fork();
    if (writer == 0)
        Writer(log, lastPath, first, reopen, intervalUs, seed);

    TCounts counts;
    std::uint64_t lastFirst = 0;
    // A gap stays in the log until a later cut drops it: each missing line counts once.
    std::set<std::uint64_t> lost;
    const auto check = [&](const std::string& text) {
        const TCheck c = Check(text);
        for (const std::uint64_t m : c.Missing)
            if (lost.insert(m).second)
                std::fprintf(stderr, "appendcut: line %llu is missing\n", static_cast<unsigned long long>(m));
        counts.Add("lines doubled", c.Doubled);
        if (c.First < lastFirst)
            counts.Add("lines doubled", lastFirst - c.First);
        lastFirst = c.First;
        return c;
    };
    for (std::uint64_t i = 0; i < cuts; ++i) {
        Sleep(0.005 + static_cast<double>(rnd.Below(20000)) / 1e6);
        const int code = Run({cli, "cut", "--kbytes", std::to_string(kbytes), log}, outPath);
        counts.Add("cuts");
        if (code != 0)
            counts.Add("FAIL cut exit not 0");
        const std::string out = ReadAll(outPath).value_or("");
        if (out.rfind("removed 0 ", 0) != 0 && out.rfind("removed ", 0) == 0)
            counts.Add("cuts that removed lines");
        check(ReadAll(log).value_or(""));
    }
    ::kill(writer, SIGTERM);
    Wait(writer);
    const std::uint64_t last = std::strtoull(ReadAll(lastPath).value_or("0").c_str(), nullptr, 10);
    const TCheck c = check(ReadAll(log).value_or(""));
    counts.Add("lines appended", last - first);
    for (std::uint64_t m = c.Last + 1; m <= last; ++m)
        lost.insert(m);
    counts.Add("lines lost", lost.size());
    counts.Print("appendcut");
    Remove(log);
    Remove(lastPath);
    Remove(outPath);
    return counts.Get("lines lost") <= maxLost && counts.Get("lines doubled") == 0 &&
                   counts.Get("FAIL cut exit not 0") == 0
               ? 0
               : 1;
}
