#include <gtest/gtest.h>

#include <random>
#include <string>

#include "log/bytefind.h"

using tarvex::ByteFinder;

namespace {

std::size_t NaiveForward(std::string_view hay, std::string_view needle, std::size_t from, bool fold)
{
    auto eq = [&](char a, char b) {
        return fold ? tarvex::AsciiFold()[static_cast<unsigned char>(a)] ==
                          tarvex::AsciiFold()[static_cast<unsigned char>(b)]
                    : a == b;
    };
    if (needle.empty())
        return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        std::size_t j = 0;
        while (j < needle.size() && eq(hay[i + j], needle[j]))
            ++j;
        if (j == needle.size())
            return i;
    }
    return std::string_view::npos;
}

std::size_t NaiveBackward(std::string_view hay, std::string_view needle, std::size_t end, bool fold)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t p = NaiveForward(hay, needle, 0, fold); p != std::string_view::npos && p + needle.size() <= end;
         p = NaiveForward(hay, needle, p + 1, fold))
        last = p;
    return last;
}

}  // namespace

TEST(ByteFinder, AgreesWithANaiveSearch)
{
    std::mt19937 rng(5);
    const std::string alphabet("aAbB:1 \0\n", 9);
    auto random = [&](std::size_t n) {
        std::string s(n, ' ');
        for (char& c : s)
            c = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string hay = random(rng() % 200);
        const std::string needle = random(1 + rng() % 4);
        const bool fold = rng() % 2;
        const std::size_t from = rng() % (hay.size() + 2);
        ByteFinder f(needle, fold ? &tarvex::AsciiFold() : nullptr, hay);
        ASSERT_EQ(f.Forward(hay, from), NaiveForward(hay, needle, from, fold))
            << testing::PrintToString(hay) << " / " << testing::PrintToString(needle);
        ASSERT_EQ(f.Backward(hay, from), NaiveBackward(hay, needle, from, fold))
            << testing::PrintToString(hay) << " / " << testing::PrintToString(needle);
    }
}

TEST(ByteFinder, CaseAndEdges)
{
    const std::string hay = "Session with 2:5020/1 ERROR, then error again";
    ByteFinder exact("error", nullptr);
    EXPECT_EQ(exact.Forward(hay, 0), 34u);
    EXPECT_EQ(exact.Backward(hay, hay.size()), 34u);
    EXPECT_EQ(exact.Backward(hay, 39), 34u);  // a match may end right at the limit
    EXPECT_EQ(exact.Backward(hay, 38), std::string_view::npos);
    ByteFinder nocase("error", &tarvex::AsciiFold());
    EXPECT_EQ(nocase.Forward(hay, 0), 22u);
    EXPECT_EQ(nocase.Forward(hay, 23), 34u);
    EXPECT_EQ(nocase.Backward(hay, 40), 34u);
    EXPECT_EQ(nocase.Backward(hay, 38), 22u);
    ByteFinder addr("2:5020/1", &tarvex::AsciiFold());
    EXPECT_EQ(addr.Forward(hay, 0), 13u);

    EXPECT_EQ(ByteFinder("", nullptr).Forward(hay, 0), std::string_view::npos);
    EXPECT_EQ(ByteFinder("x", nullptr).Forward("", 0), std::string_view::npos);
    EXPECT_EQ(ByteFinder(hay + "!", nullptr).Forward(hay, 0), std::string_view::npos);
    const std::string nuls(1000, '\0');
    EXPECT_EQ(ByteFinder(std::string("\0\0", 2), nullptr).Forward(nuls, 998), 998u);
    EXPECT_EQ(ByteFinder(std::string("\0\0", 2), nullptr).Forward(nuls, 999), std::string_view::npos);
}
