#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "base/errors.h"
#include "base/sort.h"

using namespace tarvex;

namespace {

struct Item
{
    int Key;
    int Id;  // tells equal keys apart, to see where an unstable sort put them
};

// The partitioning as the views have always done it: recurse left, loop right. Kept literal
// here so that the order of equal keys, which the views show, cannot silently change.
void ReferenceQuickSort(std::vector<Item>& a, int l, int r)
{
    int i;
    do {
        i = l;
        int j = r;
        const Item p = a[static_cast<std::size_t>((l + r) >> 1)];
        do {
            while (a[static_cast<std::size_t>(i)].Key < p.Key)
                ++i;
            while (a[static_cast<std::size_t>(j)].Key > p.Key)
                --j;
            if (i <= j) {
                std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            ReferenceQuickSort(a, l, j);
        l = i;
    } while (i < r);
}

std::vector<Item> RandomItems(std::size_t n, int keyRange, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<Item> v(n);
    for (std::size_t k = 0; k < n; ++k)
        v[k] = {static_cast<int>(rng() % static_cast<unsigned>(keyRange)), static_cast<int>(k)};
    return v;
}

int CompareItems(const Item& a, const Item& b) { return a.Key < b.Key ? -1 : a.Key > b.Key ? 1 : 0; }

bool ItemGreater(const void* a, const void* b, void* ctx)
{
    if (ctx)
        ++*static_cast<int*>(ctx);
    Item x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x.Key > y.Key;
}

bool SameOrder(const std::vector<Item>& a, const std::vector<Item>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Item& x, const Item& y) { return x.Key == y.Key && x.Id == y.Id; });
}

}  // namespace

TEST(SortList, SamePermutationAsTheClassicPartitioning)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const std::size_t n = seed * 37 % 300 + 2;
        std::vector<Item> expected = RandomItems(n, seed % 3 == 0 ? 3 : 1000, seed);
        std::vector<Item> actual = expected;
        ReferenceQuickSort(expected, 0, static_cast<int>(n) - 1);
        SortList(actual, CompareItems);
        ASSERT_TRUE(SameOrder(actual, expected)) << "seed " << seed;
    }
}

TEST(SortList, EmptyAndSingleAreLeftAlone)
{
    int calls = 0;
    auto counting = [&calls](int a, int b) { ++calls; return a - b; };
    std::vector<int> empty;
    SortList(empty, counting);
    std::vector<int> one{5};
    SortList(one, counting);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(one, std::vector<int>{5});
}

TEST(SortList, InconsistentComparatorStaysInBounds)
{
    std::mt19937 rng(7);
    std::vector<int> v(500);
    for (int& x : v)
        x = static_cast<int>(rng() % 100);
    auto chaotic = [&rng](int, int) { return static_cast<int>(rng() % 3) - 1; };
    SortList(v, chaotic);  // any order will do; ASan watches the indices
    EXPECT_EQ(v.size(), 500u);
    auto alwaysLess = [](int, int) { return -1; };
    SortList(v, alwaysLess);
    auto alwaysGreater = [](int, int) { return 1; };
    SortList(v, alwaysGreater);
}

TEST(SortRecords, SortsRecordsInPlaceLikeTheListSort)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::vector<Item> expected = RandomItems(seed * 13 + 2, seed % 2 ? 4 : 500, seed);
        std::vector<Item> actual = expected;
        ReferenceQuickSort(expected, 0, static_cast<int>(expected.size()) - 1);
        SortRecords(actual.data(), actual.size(), sizeof(Item), ItemGreater);
        ASSERT_TRUE(SameOrder(actual, expected)) << "seed " << seed;
    }
}

TEST(SortRecords, OddRecordSizeAndNoComparisonForOneRecord)
{
    // Three-byte records: key in the first byte.
    unsigned char recs[] = {3, 'c', 'c', 1, 'a', 'a', 2, 'b', 'b'};
    SortRecords(recs, 3, 3, [](const void* a, const void* b, void*) {
        return *static_cast<const unsigned char*>(a) > *static_cast<const unsigned char*>(b);
    });
    const unsigned char sorted[] = {1, 'a', 'a', 2, 'b', 'b', 3, 'c', 'c'};
    EXPECT_EQ(std::memcmp(recs, sorted, sizeof recs), 0);

    int calls = 0;
    Item one{1, 1};
    SortRecords(&one, 1, sizeof(Item), ItemGreater, &calls);
    SortRecords(&one, 0, sizeof(Item), ItemGreater, &calls);
    SortRecords(nullptr, 0, sizeof(Item), ItemGreater, &calls);
    EXPECT_EQ(calls, 0);
}

TEST(SortRecords, MoreThan65535RecordsAndOnlyTheCountTouched)
{
    std::vector<std::uint32_t> v(100001);
    for (std::size_t k = 0; k < v.size(); ++k)
        v[k] = static_cast<std::uint32_t>(100000 - k);
    auto greater = [](const void* a, const void* b, void*) {
        std::uint32_t x, y;
        std::memcpy(&x, a, 4);
        std::memcpy(&y, b, 4);
        return x > y;
    };
    SortRecords(v.data(), 100000, 4, greater);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.begin() + 100000));
    EXPECT_EQ(v[0], 1u);
    EXPECT_EQ(v[99999], 100000u);
    EXPECT_EQ(v[100000], 0u);  // the record past the count is not touched
}
