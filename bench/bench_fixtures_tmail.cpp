// How fast the T-Mail fixture generator writes a large log (in memory, no disk).
#include <chrono>
#include <cstdio>

#include "tmailfixture.h"

int main()
{
    using namespace tarvex::fixtures;
    TMailLogOptions options;
    options.Lines = 2000000;
    options.Seed = 42;
    const TMailPhrases phrases;
    const auto start = std::chrono::steady_clock::now();
    const std::string log = BuildTMailLog(options, phrases);
    const auto end = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(end - start).count();
    std::printf("tmail_fixture_2m_lines\t%.1f\tms\n", ms);
    std::printf("tmail_fixture_bytes\t%zu\tbytes\n", log.size());
    std::printf("tmail_fixture_rate\t%.0f\tlines/s\n", ms > 0 ? 2000000.0 / (ms / 1000.0) : 0.0);
    return 0;
}
