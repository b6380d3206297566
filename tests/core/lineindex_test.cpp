#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/lineindex.h"

using tarvex::LineIndex;

namespace {

// Every question the index answers, against a plain vector of the same offsets.
void ExpectSame(const LineIndex& index, const std::vector<std::uint64_t>& want)
{
    ASSERT_EQ(index.Size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(index.At(i), want[i]) << "entry " << i;
    if (!want.empty()) {
        std::vector<std::uint64_t> decoded(want.size());
        index.Decode(0, want.size(), decoded.data());
        EXPECT_EQ(decoded, want);
        const std::size_t mid = want.size() / 3;
        index.Decode(mid, want.size() - mid, decoded.data());
        EXPECT_TRUE(std::equal(want.begin() + static_cast<std::ptrdiff_t>(mid), want.end(), decoded.begin()));
    }
    std::vector<std::uint64_t> probes = {0};
    for (const std::uint64_t v : want)
        probes.insert(probes.end(), {v - 1, v, v + 1});
    for (const std::uint64_t p : probes) {
        const auto count = static_cast<std::size_t>(std::upper_bound(want.begin(), want.end(), p) - want.begin());
        ASSERT_EQ(index.CountAtOrBelow(p), count) << "offset " << p;
    }
}

// Line lengths as logs have them, with runs of empty lines, long lines that need wider deltas,
// and now and then a line of gigabytes.
std::vector<std::uint64_t> Offsets(std::mt19937_64& rng, std::size_t n, std::uint64_t start)
{
    std::vector<std::uint64_t> out;
    std::uint64_t at = start;
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(at);
        const auto kind = rng() % 100;
        at += kind < 10 ? 0 : kind < 90 ? 20 + rng() % 200 : kind < 97 ? 300 + rng() % 70000
            : kind < 99 ? rng() % 5000000 : (std::uint64_t{1} << 32) + rng() % 1000;
    }
    return out;
}

}  // namespace

TEST(LineIndex, RandomAccessAsAPlainVector)
{
    std::mt19937_64 rng(7);
    for (const std::size_t n : {0, 1, 127, 128, 129, 16383, 16384, 16385, 40000}) {
        const auto want = Offsets(rng, n, n % 2 ? 0 : 12345);
        LineIndex index;
        for (const std::uint64_t v : want)
            index.Push(v);
        ExpectSame(index, want);
        // The same offsets in runs of any length, across blocks and groups and widening blocks
        // part filled; a run's offsets are kept as 32-bit distances from its first.
        LineIndex runs;
        std::vector<std::uint32_t> rel;
        for (std::size_t i = 0; i < want.size();) {
            const std::uint64_t first = want[i];
            const std::size_t end = std::min(want.size(), i + 1 + rng() % 300);
            rel.clear();
            for (; i < end && want[i] - first <= UINT32_MAX; ++i)
                rel.push_back(static_cast<std::uint32_t>(want[i] - first));
            runs.PushRun(first, rel.data(), rel.size());
        }
        ExpectSame(runs, want);
    }
}

TEST(LineIndex, TruncatedDroppedAndAppendedAgain)
{
    std::mt19937_64 rng(11);
    auto want = Offsets(rng, 50000, 0);
    LineIndex index;
    for (const std::uint64_t v : want)
        index.Push(v);
    for (const std::size_t keep : {45000, 32768, 16385, 300, 129, 128, 1}) {
        index.Truncate(keep);
        want.resize(keep);
        ExpectSame(index, want);
    }
    // After a truncation inside a wide block, narrow deltas are appended to it.
    for (std::uint64_t at = want.back() + 40; want.size() < 20000; at += 33) {
        index.Push(at);
        want.push_back(at);
    }
    ExpectSame(index, want);
    for (const std::size_t drop : {1, 127, 16384, 3000}) {
        index.DropFront(drop);
        want.erase(want.begin(), want.begin() + static_cast<std::ptrdiff_t>(drop));
        ExpectSame(index, want);
    }
    index.Truncate(0);
    EXPECT_TRUE(index.Empty());
    index.Push(5);
    ExpectSame(index, {5});
}
