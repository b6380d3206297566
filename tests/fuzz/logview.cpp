// What a log window does with arbitrary log bytes before and without any analysis: the line
// index of the viewer, the date and the colours of every line in each style, the cut points of
// a KBytes and of a days cut, and the edits that make those cuts. Each edited index is checked
// against one built afresh from the bytes that remain.
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "log/logcut.h"
#include "log/logtext.h"
#include "styles/logfactory.h"

using namespace tarvex;

namespace {

constexpr std::size_t kMaxLines = 5000;  // enough to reach every path; keeps each run short

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

// The edited text must index exactly like a fresh one of the same bytes.
void RequireSameAsFresh(const LogText& edited)
{
    LogText fresh;
    fresh.Assign(edited.Bytes());
    Require(fresh.LineCount() == edited.LineCount());
    Require(fresh.MaxLineLength() == edited.MaxLineLength());
    for (std::size_t i = 0; i < edited.LineCount() && i < kMaxLines; ++i) {
        Require(fresh.LineStart(i) == edited.LineStart(i));
        Require(fresh.Line(i) == edited.Line(i));
    }
}

TDateTime SafeDate(TLog& log, std::string_view line)
{
    try {
        return log.DateOfLine(line);
    } catch (...) {
        return 0;
    }
}

void ColourLine(TLog& log, std::string_view line, int lineNo)
{
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            (void)log.GetWordColor(line.substr(start, i - start), lineNo, static_cast<int>(start));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);
    LogText text;
    text.Assign(bytes);
    Require(text.ByteCount() == bytes.size());
    const std::size_t lines = text.LineCount();
    for (std::size_t i = 0; i < lines && i < kMaxLines; ++i) {
        Require(text.LineStart(i) <= text.LineEnd(i) && text.LineEnd(i) <= text.NextLineStart(i));
        Require(text.LineAt(text.LineStart(i)) == i || text.LineLength(i) == 0);
    }
    (void)text.Line(lines);  // one past the end reads as empty

    const int style = static_cast<int>(fuzz::ByteAt(bytes, 0) % 4);  // Other, T-mail, the generic two
    std::unique_ptr<TLog> log = CreateLog(style);
    for (std::size_t i = 0; i < lines && i < kMaxLines; ++i) {
        (void)SafeDate(*log, text.Line(i));
        ColourLine(*log, text.Line(i), static_cast<int>(i));
    }

    // A KBytes cut.
    const std::uint64_t limit = (fuzz::ByteAt(bytes, 1) | (fuzz::ByteAt(bytes, 2) << 8)) % (size + 2);
    const bool stopAtNul = (fuzz::ByteAt(bytes, 3) & 1) != 0;
    if (const auto start = KeptStartByKBytes(bytes, limit, 127, stopAtNul)) {
        Require(*start > 0 && *start <= bytes.size());
        Require(bytes[*start - 1] == '\n' || (stopAtNul && bytes[*start - 1] == '\0'));
        LogText cut;
        cut.Assign(bytes);
        cut.Erase(0, *start);
        Require(cut.Bytes() == bytes.substr(*start));
        RequireSameAsFresh(cut);
    }

    // A days cut in the style's dates, when the log is small enough to walk whole.
    if (lines <= kMaxLines) {
        const std::int32_t days = static_cast<std::int32_t>(fuzz::ByteAt(bytes, 4) % 6);
        const std::size_t first = FirstKeptLineByDays(*log, lines, [&](std::size_t i) { return text.Line(i); }, days);
        Require(first <= lines);
        LogText cut;
        cut.Assign(bytes);
        cut.Erase(0, cut.LineStart(first));
        RequireSameAsFresh(cut);
    }

    // Any other removal, as an edit of the viewer's text would make.
    if (size > 0) {
        const std::size_t a = (fuzz::ByteAt(bytes, 5) | (fuzz::ByteAt(bytes, 6) << 8)) % (size + 1);
        const std::size_t b = (fuzz::ByteAt(bytes, 7) | (fuzz::ByteAt(bytes, 8) << 8)) % (size + 1);
        const std::size_t lo = std::min(a, b), hi = std::max(a, b);
        text.Erase(lo, hi);
        Require(text.Bytes() == std::string(bytes.substr(0, lo)) + std::string(bytes.substr(hi)));
        RequireSameAsFresh(text);
    }
    return 0;
}
