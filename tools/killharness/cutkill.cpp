// Kills `tarvex-cli cut` with SIGKILL at random moments of a cut and checks what is left:
// the log holds its old bytes or the cut bytes, a <log>.cut holds exactly the kept bytes, a
// leftover copy stops the next cut, and the log can be put right as README says.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "binkstylelog.h"
#include "harness.h"
#include "prng.h"

using namespace harness;

namespace {

const char* const kUsage =
    "usage: cutkill --cli TARVEX-CLI --dir SCRATCH [--kills N] [--mb M] [--mode kbytes|days] [--seed S]\n"
    "Prints cutkill<TAB>name<TAB>count lines; exits 1 when any kill left a log or copy that loses data.\n";

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
    const std::uint64_t kills = args.Number("kills", 300);
    const std::uint64_t mb = args.Number("mb", 32);
    const std::string mode = args.Get("mode", "kbytes");
    tarvex::fixtures::SplitMix64 rnd(args.Number("seed", 1));

    Run({"/bin/mkdir", "-p", dir});
    const std::string log = dir + "/bink.log";
    const std::string copy = log + ".cut";
    const std::string temp = log + ".cut.$$$";
    const std::string old = tarvex::fixtures::BuildBinkStyleLog(mb << 20, 200, 7);
    std::vector<std::string> cut = {cli, "cut"};
    if (mode == "days")
        cut.insert(cut.end(), {"--days", "100", "--style", "Generic Bink-style", "--year", "2026"});
    else
        cut.insert(cut.end(), {"--kbytes", std::to_string(mb * 1024 / 2)});
    cut.push_back(log);

    const auto restore = [&] {
        WriteAll(log, old);
        Remove(copy);
        Remove(temp);
    };

    // Polls until the cut starts writing its copy; false (with the exit code) when it ended first.
    const auto awaitCopy = [&](pid_t pid, int& code) {
        while (!Exists(temp) && !Exists(copy))
            if (TryWait(pid, code))
                return false;
        return true;
    };

    // The cut as it goes when nothing stops it: its result, how long it takes, and how long
    // from the first byte of its copy to the copy's removal (the rewrite).
    std::vector<double> runs, rewrites;
    std::string cutBytes;
    for (int i = 0; i < 5; ++i) {
        // Timed alone: the polling below takes a core the cut would otherwise have.
        restore();
        const double t0 = Now();
        if (Run(cut) == 0)
            runs.push_back(Now() - t0);
        restore();
        const pid_t pid = Spawn(cut);
        int code = -1;
        if (awaitCopy(pid, code)) {
            const double t1 = Now();
            while (!TryWait(pid, code) && (Exists(temp) || Exists(copy))) {
            }
            rewrites.push_back(Now() - t1);
            if (code == -1)
                code = Wait(pid);
        }
        cutBytes = ReadAll(log).value_or("");
        if (code != 0 || Exists(copy) || Exists(temp) || cutBytes.size() >= old.size() ||
            old.compare(old.size() - cutBytes.size(), cutBytes.size(), cutBytes) != 0) {
            std::fprintf(stderr, "cutkill: the uninterrupted cut did not cut as expected (exit %d)\n", code);
            return 3;
        }
    }
    // Medians: one run slowed by a neighbour on the machine would stretch every delay.
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    const double runTime = median(runs);
    const double rewrite = median(rewrites);
    std::fprintf(stderr, "cutkill: %s cut of %zu bytes keeps %zu, takes %.3f s, its rewrite %.3f s\n", mode.c_str(),
                 old.size(), cutBytes.size(), runTime, rewrite);

    TCounts counts;
    // Runs that end before their kill do not count: go on until `kills` kills were made.
    std::uint64_t made = 0;
    for (std::uint64_t k = 0; made < kills && k < kills * 4; ++k) {
        restore();
        // Every other kill lands anywhere in the run, the others in the rewrite, which is short
        // beside reading and checking the log.
        const bool inRewrite = k % 2 == 1;
        const double span = inRewrite ? rewrite * 1.2 : runTime * 1.1;
        const double delay = span * static_cast<double>(rnd.Below(1000000)) / 1e6;
        const pid_t pid = Spawn(cut);
        int code = 0;
        if (!inRewrite || awaitCopy(pid, code)) {
            Sleep(delay);
            ::kill(pid, SIGKILL);
            code = Wait(pid);
        }
        made += code == -SIGKILL ? 1 : 0;
        counts.Add(code == -SIGKILL ? (inRewrite ? "kills in the rewrite" : "kills anywhere") : "finished before the kill");

        const std::string now = ReadAll(log).value_or("<missing>");
        const bool logOld = now == old;
        const bool logCut = now == cutBytes;
        if (Exists(copy)) {
            const std::string kept = ReadAll(copy).value_or("");
            counts.Add(logOld ? "copy left, log untouched" : logCut ? "copy left, log cut" : "copy left, log midway");
            if (kept != cutBytes)
                counts.Add("FAIL incomplete copy");
            // The next cut must refuse and touch nothing.
            if (Run(cut) != 2 || ReadAll(log).value_or("") != now || ReadAll(copy).value_or("") != kept)
                counts.Add("FAIL next cut did not refuse");
            // README: a log that still holds its old lines or the cut lines is whole; else the
            // copy goes over it.
            if (!logOld && !logCut)
                WriteAll(log, kept);
            Remove(copy);
            const std::string after = ReadAll(log).value_or("");
            if (after != old && after != cutBytes)
                counts.Add("FAIL lines lost after recovery");
        } else if (Exists(temp)) {
            counts.Add("temporary copy left, log untouched");
            if (!logOld)
                counts.Add("FAIL log touched before the copy was complete");
            if (Run(cut) != 0 || ReadAll(log).value_or("") != cutBytes || Exists(temp))
                counts.Add("FAIL next cut did not clear the temporary copy");
        } else if (logOld) {
            counts.Add("nothing left, log untouched");
        } else if (logCut) {
            counts.Add("nothing left, log cut");
        } else {
            counts.Add("FAIL log damaged without a copy");
        }
    }
    restore();
    Remove(log);
    counts.Print("cutkill");
    std::uint64_t failures = 0;
    for (const char* f : {"FAIL incomplete copy", "FAIL next cut did not refuse", "FAIL lines lost after recovery",
                          "FAIL log touched before the copy was complete", "FAIL next cut did not clear the temporary copy",
                          "FAIL log damaged without a copy"})
        failures += counts.Get(f);
    return failures == 0 ? 0 : 1;
}
