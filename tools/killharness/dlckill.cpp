// Kills the download-counter update of many files.bbs lists with SIGKILL at random moments
// and checks every list: it holds its old bytes or its new bytes, never a mix, a truncated
// list or none; with the backup on, filesbbs.bak holds the old list whenever the new one is in.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "log/dlcupdate.h"
#include "prng.h"

using namespace harness;

namespace {

const char* const kUsage =
    "usage: dlckill --dir SCRATCH [--kills N] [--areas A] [--lines L] [--backup on|off] [--seed S]\n"
    "Prints dlckill<TAB>name<TAB>count lines; exits 1 when any kill left a list or backup wrong.\n";

struct TArea
{
    std::string Dir;
    std::string Name;  // the requested file whose counter goes up
    std::string Old;
    std::string New;
    std::string Prior;  // the backup of an earlier update
};

std::string BuildList(int area, int lines, tarvex::fixtures::SplitMix64& rnd)
{
    std::string out;
    char buf[128];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(buf, sizeof buf, "FILE%04d.ZIP  [%03u] Area %d, file %d of the collection\r\n", i,
                      rnd.Below(1000), area, i);
        out += buf;
    }
    return out;
}

// The update of every list, as the counter update after an analysis makes it.
void UpdateAll(const std::vector<TArea>& areas, const tarvex::TDlcFormat& fmt)
{
    for (const TArea& a : areas)
        tarvex::UpdateFilesBbs(a.Dir, a.Name, fmt);
}

}  // namespace

int main(int argc, char** argv)
{
    const TArgs args(argc, argv, kUsage);
    const std::string dir = args.Get("dir", "");
    if (dir.empty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    const std::uint64_t kills = args.Number("kills", 300);
    const int areaCount = static_cast<int>(args.Number("areas", 100));
    const int lines = static_cast<int>(args.Number("lines", 2000));
    tarvex::TDlcFormat fmt;
    fmt.Backup = args.Get("backup", "on") == "on";
    tarvex::fixtures::SplitMix64 rnd(args.Number("seed", 1));

    std::vector<TArea> areas;
    for (int i = 0; i < areaCount; ++i) {
        TArea a;
        a.Dir = dir + "/area" + std::to_string(i);
        Run({"/bin/mkdir", "-p", a.Dir});
        a.Old = BuildList(i, lines, rnd);
        a.Prior = "the backup of an earlier update of area " + std::to_string(i) + "\r\n";
        // Every fifth list does not hold the file yet: the update appends a line for it.
        a.Name = i % 5 == 4 ? "NEWFILE.ZIP" : "FILE" + std::string(4 - std::to_string(i % lines).size(), '0') +
                                                 std::to_string(i % lines) + ".ZIP";
        areas.push_back(a);
    }
    const auto restore = [&] {
        // Removed first: a kill may leave the list and its backup as two names of one file.
        for (const TArea& a : areas) {
            for (const char* name : {"/files.bbs", "/filesbbs.bak", "/files.bbs.$$$", "/filesbbs.bak.$$$"})
                Remove(a.Dir + name);
            WriteAll(a.Dir + "/files.bbs", a.Old);
            WriteAll(a.Dir + "/filesbbs.bak", a.Prior);
        }
    };

    restore();
    double t0 = Now();
    UpdateAll(areas, fmt);
    const double slowest = Now() - t0;
    for (TArea& a : areas) {
        a.New = ReadAll(a.Dir + "/files.bbs").value_or("");
        if (a.New == a.Old || a.New.empty()) {
            std::fprintf(stderr, "dlckill: the update did not change %s\n", a.Dir.c_str());
            return 3;
        }
    }
    std::fprintf(stderr, "dlckill: update of %d lists of %d lines takes %.3f s\n", areaCount, lines, slowest);

    TCounts counts;
    // Runs that end before their kill do not count: go on until `kills` kills were made.
    std::uint64_t made = 0;
    for (std::uint64_t k = 0; made < kills && k < kills * 4; ++k) {
        restore();
        const double delay = slowest * 1.1 * static_cast<double>(rnd.Below(1000000)) / 1e6;
        const pid_t pid = ::fork();
        if (pid == 0) {
            UpdateAll(areas, fmt);
            ::_exit(0);
        }
        Sleep(delay);
        ::kill(pid, SIGKILL);
        const bool killed = Wait(pid) == -SIGKILL;
        made += killed ? 1 : 0;
        counts.Add(killed ? "kills" : "finished before the kill");
        std::uint64_t updated = 0;
        for (const TArea& a : areas) {
            const auto list = ReadAll(a.Dir + "/files.bbs");
            const auto bak = ReadAll(a.Dir + "/filesbbs.bak");
            if (!list) {
                counts.Add("FAIL list missing");
            } else if (*list == a.New) {
                ++updated;
                if (fmt.Backup && bak != a.Old)
                    counts.Add("FAIL backup not the old list");
            } else if (*list == a.Old) {
                if (fmt.Backup && bak != a.Prior && bak != a.Old)
                    counts.Add("FAIL backup lost");
            } else {
                counts.Add("FAIL list mixed or truncated");
            }
        }
        counts.Add("lists checked", areas.size());
        counts.Add("lists updated when killed", updated);
    }
    counts.Print("dlckill");
    std::uint64_t failures = 0;
    for (const char* f : {"FAIL list missing", "FAIL backup not the old list", "FAIL backup lost", "FAIL list mixed or truncated"})
        failures += counts.Get(f);
    for (const TArea& a : areas)
        Run({"/bin/rm", "-rf", a.Dir});
    return failures == 0 ? 0 : 1;
}
