#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/textstore.h"

using namespace tarvex;

// Texts come back byte for byte (NULs, long ones beside short ones), once each however often kept.
TEST(TextStore, KeepsEachTextOnceAndWhole)
{
    TTextStore store;
    const std::string nul("a\0b", 3);
    const std::string big(100000, 'x');
    std::vector<TStoredText> kept;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 3000; ++i) {
            kept.push_back(store.Keep("System " + std::to_string(i)));
            if (i % 1000 == 0) {
                EXPECT_EQ(store.Keep(nul), nul);
                EXPECT_EQ(store.Keep(big), big);
            }
        }
    EXPECT_EQ(store.Count(), 3002u);
    for (std::size_t k = 0; k < kept.size(); ++k)
        ASSERT_EQ(kept[k], "System " + std::to_string(k % 3000));
    EXPECT_TRUE(store.Keep("").empty());
    EXPECT_EQ(TStoredText(), "");
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_EQ(store.Keep("again"), "again");
}
