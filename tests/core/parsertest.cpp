#include "parsertest.h"

#include <algorithm>

#include "base/errors.h"

namespace tarvex::testing {

std::vector<TColorItem> WordColours(TLog& log, int lineNo, TWordsAt words)
{
    std::vector<TColorItem> c;
    for (auto [w, col] : words)
        c.push_back(log.GetWordColor(w, lineNo, col));
    return c;
}

const TFreq* FindFreqOf(const TMailerLog& log, std::string_view request, std::size_t nth)
{
    for (const TFreqEntry& e : log.Freqs)
        if (e.Request == request && nth-- == 0)
            return &e.Freq;
    return nullptr;
}

void DamageBytes(std::string& text, std::uint64_t seed, std::string_view marks)
{
    // xorshift64: the same damage on every run and every machine.
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    for (int i = 0; i < 4000; ++i) {
        const std::size_t at = next() % text.size();
        switch (next() % 4) {
        case 0: text[at] = static_cast<char>(next()); break;
        case 1: text[at] = '\0'; break;
        case 2: text[at] = '\n'; break;
        default: text[at] = marks.size() == 1 ? marks[0] : marks[next() % marks.size()]; break;
        }
    }
}

void ExpectSessionsInOrder(const TMailerLog& log)
{
    for (const TSess& s : log.Sessions)
        EXPECT_LE(s.StartLine, s.EndLine);
}

void FeedCutLines(TMailerLog& log, std::initializer_list<std::string_view> lines, bool parse)
{
    for (std::string_view line : lines) {
        try {
            log.CheckNewDay(line);
            if (parse)
                log.ParseLine(line);
        } catch (const EConvertError&) {
            // a bad date is told to the user by the pass
        }
        log.ColorLineNo = -1;
        log.GetWordColor(line, 1, 0);
    }
}

void ExpectCleanGeneratedLog(TMailerLog& log, const std::string& text, int lines)
{
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), lines);
    TScriptedUserInterface ui;
    ASSERT_TRUE(log.Analyze(ui, {}, text));
    EXPECT_TRUE(ui.Transcript.empty()) << ui.Transcript.front();
    EXPECT_GT(log.SessCount, 50);
    EXPECT_GT(log.Freqs.size(), 5u);
}

}  // namespace tarvex::testing
