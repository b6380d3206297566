#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/linesplit.h"

using tarvex::LineSplitter;

namespace {

// The rule spelled out byte by byte, to hold the splitter's block search against.
std::vector<std::string> ReferenceLines(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    bool open = false;
    for (char c : text) {
        open = true;
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r')
                cur.pop_back();
            out.push_back(cur);
            cur.clear();
            open = false;
        } else {
            cur += c;
        }
    }
    if (open)
        out.push_back(cur);
    return out;
}

std::vector<std::string> SplitterLines(const std::string& text)
{
    std::vector<std::string> out;
    LineSplitter split(text);
    std::string_view line;
    while (split.Next(line))
        out.emplace_back(line);
    return out;
}

}  // namespace

// Line ends at every position of the sixteen-byte blocks and in the tail behind them.
TEST(LineSplitter, EveryLineLengthAroundTheSearchBlocks)
{
    for (std::size_t len = 0; len <= 70; ++len)
        for (const char* end : {"\n", "\r\n", "\r", ""}) {
            std::string text;
            for (int i = 0; i < 3; ++i)
                text += std::string(len, static_cast<char>('a' + i)) + end;
            text += std::string(len / 2, '\0');  // a final line without terminator, NULs and all
            EXPECT_EQ(SplitterLines(text), ReferenceLines(text)) << len << " " << end[0];
            // Starting anywhere inside the text must not matter either.
            for (std::size_t skip = 1; skip < 17 && skip < text.size(); ++skip)
                EXPECT_EQ(SplitterLines(text.substr(skip)), ReferenceLines(text.substr(skip))) << len << " " << skip;
        }
    const std::string crlfOnly = "\r\n\r\n\n\r\r\n";
    EXPECT_EQ(SplitterLines(crlfOnly), ReferenceLines(crlfOnly));
    EXPECT_TRUE(SplitterLines("").empty());
}
