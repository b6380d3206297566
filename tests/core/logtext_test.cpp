#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/linesplit.h"
#include "log/bytefind.h"
#include "log/logtext.h"
#include "platform/sharedfile.h"

using tarvex::LineSplitter;
using tarvex::LogText;

namespace {

std::vector<std::string_view> SplitterLines(std::string_view text)
{
    std::vector<std::string_view> out;
    LineSplitter split(text);
    std::string_view line;
    while (split.Next(line))
        out.push_back(line);
    return out;
}

// The text's index must give exactly the lines LineSplitter gives.
void ExpectSameLines(const LogText& t)
{
    const std::string all = t.Bytes();
    const auto want = SplitterLines(all);
    ASSERT_EQ(t.LineCount(), want.size());
    std::size_t maxLen = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(t.Line(i), want[i]) << "line " << i;
        ASSERT_EQ(std::string_view(all).substr(t.LineStart(i), t.LineLength(i)), want[i]) << "line " << i;
        ASSERT_EQ(t.LineAt(t.LineStart(i)), i);
        maxLen = std::max(maxLen, want[i].size());
    }
    EXPECT_EQ(t.MaxLineLength(), maxLen);
}

std::string RandomText(std::mt19937& rng, std::size_t size)
{
    static const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\n', '\0', '\t', 'Z'};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
    std::string s(size, ' ');
    for (char& c : s)
        c = alphabet[pick(rng)];
    return s;
}

std::string TempPath(const char* name)
{
    return testing::TempDir() + "/tarvex_logtext_" + name;
}

}  // namespace

TEST(LogText, SplitsLikeTheAnalysis)
{
    const std::vector<std::string> cases = {
        "", "\n", "\r\n", "\r", "a", "a\n", "a\r\n", "a\r", "a\rb\n", "\n\n\n", "\r\n\r\n",
        "a\nb", "a\n\nb\n", "x\r\r\n", std::string("\0\0\n\0", 4), "last line without end",
        "a\r\nb\nc\rd\r\n\r\n\ne"};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c));
        LogText t;
        t.Assign(c);
        EXPECT_EQ(t.Bytes(), c);
        ExpectSameLines(t);
    }
}

TEST(LogText, ExactLinesOfAMixedText)
{
    LogText t;
    t.Assign("one\r\ntwo\n\nfour\rstill four\r\nfive");
    ASSERT_EQ(t.LineCount(), 5u);
    EXPECT_EQ(t.Line(0), "one");
    EXPECT_EQ(t.Line(1), "two");
    EXPECT_EQ(t.Line(2), "");
    EXPECT_EQ(t.Line(3), "four\rstill four");
    EXPECT_EQ(t.Line(4), "five");
    EXPECT_EQ(t.LineStart(3), 10u);
    EXPECT_EQ(t.LineEnd(3), 25u);
    EXPECT_EQ(t.NextLineStart(3), 27u);
    EXPECT_EQ(t.MaxLineLength(), 15u);
    // Out of range: the end, never a read past it.
    EXPECT_EQ(t.Line(5), "");
    EXPECT_EQ(t.LineStart(99), t.ByteCount());
    EXPECT_EQ(t.LineAt(9999), 4u);
}

TEST(LogText, RandomTextsAcrossChunks)
{
    std::mt19937 rng(7);
    for (std::size_t size : {1u, 2u, 3u, 17u, 255u, 4096u, 200000u}) {
        LogText t;
        t.Assign(RandomText(rng, size));
        ExpectSameLines(t);
    }
    // More lines than one index chunk holds.
    std::string many;
    for (int i = 0; i < 40000; ++i)
        many += (i % 3 ? "line\r\n" : "\n");
    LogText t;
    t.Assign(many);
    EXPECT_EQ(t.LineCount(), 40000u);
    ExpectSameLines(t);
}

TEST(LogText, TopCutKeepsLinesAndBytes)
{
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    LogText t;
    t.Assign(text);
    // Lines 0..36999 go: crosses several whole index chunks.
    const std::size_t cut = t.LineStart(37000);
    t.Erase(0, cut);
    EXPECT_EQ(t.Bytes(), std::string_view(text).substr(cut));
    EXPECT_EQ(t.LineCount(), 13000u);
    EXPECT_EQ(t.Line(0), "line 37000");
    EXPECT_EQ(t.Line(12999), "line 49999");
    ExpectSameLines(t);
    // And again, inside the first remaining chunk.
    t.Erase(0, t.LineStart(5));
    EXPECT_EQ(t.Line(0), "line 37005");
    ExpectSameLines(t);
}

TEST(LogText, AnyEraseMatchesAFreshIndex)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        std::string text = RandomText(rng, 1 + rng() % 300);
        LogText t;
        t.Assign(text);
        std::size_t a = rng() % (text.size() + 1), b = rng() % (text.size() + 1);
        if (a > b)
            std::swap(a, b);
        t.Erase(a, b);
        text.erase(a, b - a);
        ASSERT_EQ(t.Bytes(), text);
        ExpectSameLines(t);
    }
}

// A followed log: bytes come in pieces cut anywhere (a CR LF split, a line without its end),
// after a cut at the top or in the middle; the index ends up as a fresh one over the whole text.
TEST(LogText, AppendedPiecesMatchAFreshIndex)
{
    std::mt19937 rng(13);
    for (int round = 0; round < 200; ++round) {
        std::string text = RandomText(rng, rng() % 200);
        LogText t;
        t.Assign(text);
        if (round % 3 == 1 && !text.empty()) {
            const std::size_t cut = t.LineStart(t.LineCount() / 2);
            t.Erase(0, cut);
            text.erase(0, cut);
        } else if (round % 3 == 2 && text.size() > 2) {
            t.Erase(1, 2);
            text.erase(1, 1);
        }
        for (int piece = 0; piece < 5; ++piece) {
            const std::string more = RandomText(rng, rng() % (round < 190 ? 40 : 100000));
            t.Append(more);
            text += more;
        }
        ASSERT_EQ(t.Bytes(), text);
        ExpectSameLines(t);
    }
}

TEST(LogText, EraseEdges)
{
    LogText t;
    t.Erase(0, 10);  // empty text
    EXPECT_EQ(t.LineCount(), 0u);
    t.Assign("a\nb\n");
    t.Erase(0, 4);
    EXPECT_EQ(t.LineCount(), 0u);
    EXPECT_EQ(t.Bytes(), "");
    t.Assign("a\nb\n");
    t.Erase(2, 100);  // the whole last line; the text now ends with LF
    EXPECT_EQ(t.LineCount(), 1u);
    EXPECT_EQ(t.Bytes(), "a\n");
    t.Assign("a\r\nb");
    t.Erase(2, 3);  // only the LF: the CR is now data of a joined line
    EXPECT_EQ(t.LineCount(), 1u);
    EXPECT_EQ(t.Line(0), "a\rb");
}

TEST(LogText, LoadsAFileAndRewritesItByteForByte)
{
    std::mt19937 rng(3);
    std::string text = RandomText(rng, 5 << 20);  // several read pieces
    const std::string path = TempPath("load.log");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    LogText t;
    std::string error;
    ASSERT_TRUE(t.LoadFile(path, error)) << error;
    EXPECT_EQ(t.Bytes(), text);
    ExpectSameLines(t);

    t.Erase(0, t.LineStart(1000));
    ASSERT_TRUE(tarvex::RewriteFileBytes(path, t.Bytes(), error)) << error;
    LogText back;
    ASSERT_TRUE(back.LoadFile(path, error)) << error;
    EXPECT_EQ(back.Bytes(), text.substr(t.ByteCount() == 0 ? text.size() : text.size() - t.ByteCount()));
    std::remove(path.c_str());
}

TEST(LogText, MissingFileKeepsTheText)
{
    LogText t;
    t.Assign("kept\n");
    std::string error;
    EXPECT_FALSE(t.LoadFile(TempPath("no/such/file.log"), error));
    EXPECT_NE(error.find("Cannot open"), std::string::npos);
    EXPECT_EQ(t.Bytes(), "kept\n");
    EXPECT_FALSE(t.LoadFile(testing::TempDir(), error));  // a directory
}

TEST(LogText, IndexCostsAboutFourBytesALine)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "0123456789\n";
    LogText t;
    t.Assign(text);
    EXPECT_LE(t.IndexMemory(), 100000u * 4 + 3 * 16384 * 4);
}

TEST(LogText, LoadReportsEveryPieceAndCanBeStopped)
{
    std::mt19937 rng(5);
    const std::string text = RandomText(rng, 3 << 20);
    const std::string path = TempPath("progress.log");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::vector<std::uint64_t> seen;
    LogText t;
    std::string error;
    ASSERT_TRUE(t.LoadFile(path, error, [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(total, text.size());
        seen.push_back(done);
        return true;
    })) << error;
    ASSERT_GE(seen.size(), 6u);  // pieces of half a megabyte
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), text.size());

    // Stopped after the second piece: the load fails and the text shown before stays.
    LogText kept;
    kept.Assign("before\n");
    int calls = 0;
    EXPECT_FALSE(kept.LoadFile(path, error, [&](std::uint64_t, std::uint64_t) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    EXPECT_NE(error.find("stopped"), std::string::npos);
    EXPECT_EQ(kept.Bytes(), "before\n");
    std::remove(path.c_str());
}

TEST(LogText, LogTruncatedWhileLoadingIsReadAgain)
{
    std::mt19937 rng(6);
    const std::string text = RandomText(rng, 4 << 20);
    const std::string path = TempPath("shrinks.log");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    LogText t;
    std::string error;
    bool emptied = false;
    ASSERT_TRUE(t.LoadFile(path, error, [&](std::uint64_t, std::uint64_t) {
        if (!emptied) {
            emptied = true;
            std::ofstream(path, std::ios::binary | std::ios::trunc);  // the mailer empties its log
            std::ofstream(path, std::ios::binary) << "new\n";
        }
        return true;
    })) << error;
    EXPECT_EQ(t.Bytes(), "new\n");
    ExpectSameLines(t);
    EXPECT_FALSE(t.FileShrank());
    std::remove(path.c_str());
}

namespace {

void WriteFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Lines of many lengths, one longer than a cache block, and needles astride the borders of the
// cache's blocks (64 KiB) and of a search's pieces (4 MiB).
std::string OnDemandText()
{
    std::mt19937 rng(21);
    std::string s;
    while (s.size() < (std::size_t{9} << 19)) {
        s += std::string(rng() % 90, 'a' + static_cast<char>(rng() % 26));
        s += rng() % 4 ? "\n" : "\r\n";
        if (s.size() > 300000 && s.size() < 300100)
            s += std::string(200000, 'L') + "\n";
    }
    for (std::size_t at : {std::size_t{65536} - 3, std::size_t{3} * 65536 - 1, (std::size_t{4} << 20) - 5})
        s.replace(at, 9, "NeedleXyz");
    return s;
}

}  // namespace

// A file's text read on demand gives what the same bytes in memory give: lines within and
// across blocks, ranges, and every match of a search down and up.
TEST(LogText, OnDemandReadsAsTheBytesInMemory)
{
    const std::string text = OnDemandText();
    const std::string path = TempPath("ondemand.log");
    WriteFile(path, text);
    LogText file, memory;
    std::string error;
    ASSERT_TRUE(file.LoadFile(path, error)) << error;
    memory.Assign(text);
    ASSERT_TRUE(file.OnDemand());
    ExpectSameLines(file);
    EXPECT_EQ(file.MaxLineLength(), 200000u);
    EXPECT_EQ(file.ReadRange(65530, 65540 + 70000), text.substr(65530, 70010));
    EXPECT_LE(file.TextMemory(), std::size_t{5} << 20);  // a bounded cache, not the text

    for (const tarvex::ByteFold* fold : {static_cast<const tarvex::ByteFold*>(nullptr), &tarvex::AsciiFold()}) {
        const tarvex::ByteFinder finder(fold ? "needlexyz" : "NeedleXyz", fold);
        std::vector<std::size_t> down, up;
        for (std::size_t at = file.Find(finder, 9, true, 0); at != tarvex::ByteFinder::npos;
             at = file.Find(finder, 9, true, at + 1))
            down.push_back(at);
        for (std::size_t at = file.Find(finder, 9, false, text.size()); at != tarvex::ByteFinder::npos;
             at = file.Find(finder, 9, false, at + 8))
            up.insert(up.begin(), at);
        const std::vector<std::size_t> want = {65533, 3 * 65536 - 1, (4u << 20) - 5};
        EXPECT_EQ(down, want);
        EXPECT_EQ(up, want);
        EXPECT_EQ(file.Find(finder, 9, true, 65534), memory.Find(finder, 9, true, 65534));
    }
    std::remove(path.c_str());
}

// The file cut short while it is shown: what is gone reads as nothing, never past a buffer.
TEST(LogText, FileTruncatedWhileShown)
{
    const std::string text = OnDemandText();
    const std::string path = TempPath("truncated.log");
    WriteFile(path, text);
    LogText t;
    std::string error;
    ASSERT_TRUE(t.LoadFile(path, error)) << error;
    const std::size_t lines = t.LineCount();
    WriteFile(path, text.substr(0, 100000));
    EXPECT_EQ(t.LineCount(), lines);
    EXPECT_EQ(t.Line(lines - 1), "");
    EXPECT_EQ(t.Line(0), SplitterLines(text)[0]);
    EXPECT_TRUE(t.FileShrank());
    EXPECT_EQ(t.ReadRange(99990, 100020), text.substr(99990, 10));
    const tarvex::ByteFinder finder("NeedleXyz", nullptr);
    EXPECT_EQ(t.Find(finder, 9, true, 70000), tarvex::ByteFinder::npos);
    EXPECT_EQ(t.Bytes(), text.substr(0, 100000));
    std::remove(path.c_str());
}

// A cut rewrote the file from a line's start or from inside a line; an edit elsewhere takes the
// text into memory. Each ends as a fresh text of the bytes left.
TEST(LogText, OnDemandCutsAndEdits)
{
    const std::string text = OnDemandText();
    const std::string path = TempPath("cut.log");
    LogText t;
    std::string error;
    for (bool atLineStart : {true, false}) {
        WriteFile(path, text);
        ASSERT_TRUE(t.LoadFile(path, error)) << error;
        const std::size_t drop = t.LineStart(5000) + (atLineStart ? 0 : 3);
        WriteFile(path, text.substr(drop));
        t.FileHeadCut(drop);
        EXPECT_TRUE(t.OnDemand());
        EXPECT_EQ(t.Bytes(), text.substr(drop));
        ExpectSameLines(t);
    }
    WriteFile(path, text);
    ASSERT_TRUE(t.LoadFile(path, error)) << error;
    t.Erase(0, t.LineStart(10));  // skipped, still read from the file
    EXPECT_TRUE(t.OnDemand());
    t.Erase(5, 70000);
    EXPECT_FALSE(t.OnDemand());
    std::string want = text.substr(text.find('\n') + 1);
    for (int i = 1; i < 10; ++i)
        want = want.substr(want.find('\n') + 1);
    want.erase(5, 70000 - 5);
    EXPECT_EQ(t.Bytes(), want);
    ExpectSameLines(t);
    std::remove(path.c_str());
}

// A file's pieces are scanned for their line feeds on the reading thread and indexed on the
// other: the index must be the one the text gives in memory, with the pieces' borders (half a
// megabyte) on a LF, just before or after one, between the CR and LF of a CR LF, and on empty
// lines, and with the text ending with a LF, a CR or neither.
TEST(LogText, FileLoadIndexesAsTheBytesInMemory)
{
    constexpr std::size_t piece = std::size_t{512} << 10;
    const std::string path = TempPath("borders.log");
    const char* const atBorder[] = {"\n", "x\n", "\nx", "\r\n", "\n\n", "\r\r\n", "\n\r\n"};
    const char* const endings[] = {"", "\n", "\r", "\r\n", "last"};
    std::mt19937 rng(31);
    for (std::size_t round = 0; round < std::size(atBorder) * 3; ++round) {
        const std::string mark = atBorder[round % std::size(atBorder)];
        std::string text;
        for (std::size_t border = piece; border <= 3 * piece; border += piece) {
            while (text.size() < border - 200)
                text += std::string(rng() % 120, 'a') + (rng() % 3 ? "\n" : "\r\n");
            // The mark starts two bytes, one byte or no byte before the border (by the round).
            text.resize(border - 2 + round / std::size(atBorder), 'b');
            text += mark;
        }
        text += endings[round % std::size(endings)];
        WriteFile(path, text);
        LogText file, memory;
        std::string error;
        ASSERT_TRUE(file.LoadFile(path, error)) << error;
        memory.Assign(text);
        ASSERT_EQ(file.LineCount(), memory.LineCount()) << "round " << round;
        for (std::size_t i = 0; i < memory.LineCount(); ++i)
            ASSERT_EQ(file.LineStart(i), memory.LineStart(i)) << "round " << round << " line " << i;
        EXPECT_EQ(file.MaxLineLength(), memory.MaxLineLength()) << "round " << round;
        ExpectSameLines(file);
    }
    std::remove(path.c_str());
}
