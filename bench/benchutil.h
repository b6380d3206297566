#pragma once
// What the benchmark programs share: a user interface that answers every question OK and
// counts them, and the best-of-n timing.
#include <algorithm>
#include <chrono>
#include <string>

#include "host/userinterface.h"

namespace tarvex::bench {

class TQuietUi : public IUserInterface
{
public:
    TMsgResult Message(const std::string&, TMsgKind, TMsgButtons) override
    {
        ++Questions;
        return TMsgResult::OK;
    }
    void SetBusyCursor(bool) override {}
    long Questions = 0;
};

inline double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// Best of a few runs: the machine is shared, the minimum is the least disturbed figure.
template <class F>
double BestOf(int runs, F&& f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, Seconds(t0, std::chrono::steady_clock::now()));
    }
    return best;
}

}  // namespace tarvex::bench
