#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/chunkedlist.h"

using namespace tarvex;

namespace {

// Four elements a chunk, so a handful of elements crosses several chunk boundaries.
using TSmallList = TChunkedList<std::string, 2>;

std::string Item(int i) { return "record number " + std::to_string(i) + " with text past the small-string size"; }

}  // namespace

TEST(ChunkedList, AppendsKeepElementsInPlaceAndInOrder)
{
    TSmallList list;
    std::vector<const std::string*> where;
    for (int i = 0; i < 50; ++i) {
        list.push_back(Item(i));
        where.push_back(&list.back());
    }
    ASSERT_EQ(list.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(list[static_cast<std::size_t>(i)], Item(i));
        EXPECT_EQ(&list[static_cast<std::size_t>(i)], where[static_cast<std::size_t>(i)]) << "element " << i << " moved";
    }
    EXPECT_EQ(list.front(), Item(0));
    EXPECT_THROW((void)list.at(50), std::out_of_range);
    EXPECT_EQ(list.at(49), Item(49));
}

TEST(ChunkedList, CopyOfItsOwnElementAtAChunkBoundary)
{
    TSmallList list;
    for (int i = 0; i < 4; ++i)
        list.push_back(Item(i));
    list.push_back(list[2]);  // the fifth element opens a new chunk
    list.push_back(std::string(list.back()));
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[4], Item(2));
    EXPECT_EQ(list[5], Item(2));
}

TEST(ChunkedList, IteratorsWalkBothWaysAndSearch)
{
    TChunkedList<int, 2> list;
    for (int i = 0; i < 23; ++i)
        list.push_back(i * 10);
    int expect = 0;
    for (int v : list) {
        EXPECT_EQ(v, expect);
        expect += 10;
    }
    EXPECT_EQ(expect, 230);
    std::vector<int> backwards(list.crbegin(), list.crend());
    ASSERT_EQ(backwards.size(), 23u);
    EXPECT_EQ(backwards.front(), 220);
    EXPECT_EQ(backwards.back(), 0);
    // Random access, as the days' binary search uses it.
    const auto it = std::upper_bound(list.cbegin(), list.cend(), 95);
    EXPECT_EQ(it - list.cbegin(), 10);
    EXPECT_EQ(*it, 100);
    EXPECT_EQ(it[3], 130);
    TChunkedList<int, 2>::const_iterator c = list.begin() + 7;  // a mutable iterator converts
    EXPECT_EQ(*c, 70);
    *(list.begin() + 7) = 71;
    EXPECT_EQ(list[7], 71);
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](int v) { return v % 20 == 0; }), 12);
}

TEST(ChunkedList, MoveIntoHandsOverEverythingInOrderAndEmpties)
{
    TSmallList list;
    for (int i = 0; i < 18; ++i)
        list.push_back(Item(i));
    TSmallList out;
    out.push_back("already there");
    int ticks = 0;
    list.MoveInto(out, [&] { ++ticks; });
    EXPECT_EQ(ticks, 18);
    ASSERT_EQ(out.size(), 19u);
    EXPECT_EQ(out[0], "already there");
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(out[static_cast<std::size_t>(i) + 1], Item(i));
    EXPECT_TRUE(list.empty());
    // The emptied list is as good as new.
    list.push_back(Item(7));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list.back(), Item(7));
}

TEST(ChunkedList, ClearDestroysEveryElement)
{
    auto counter = std::make_shared<int>(0);
    TChunkedList<std::shared_ptr<int>, 2> list;
    for (int i = 0; i < 9; ++i)
        list.push_back(counter);
    EXPECT_EQ(counter.use_count(), 10);
    list.clear();
    EXPECT_EQ(counter.use_count(), 1);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
}
