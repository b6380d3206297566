#include "log/navigation.h"

#include <algorithm>
#include <vector>

#include "base/linesplit.h"

namespace tarvex {

namespace {

// The date of a line, 0 for one that has none or cannot be read.
TDateTime SafeDateOfLine(TLog& log, std::string_view line)
{
    try {
        return log.DateOfLine(line);
    } catch (...) {
        return 0;
    }
}

}  // namespace

std::int32_t PrevDayIndex(const TMailerLog& log, std::int32_t line)
{
    for (std::size_t i = log.Days.size(); i-- > 0;)
        if (log.Days[i].LineNo < line)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t NextDayIndex(const TMailerLog& log, std::int32_t line)
{
    for (std::size_t i = 0; i < log.Days.size(); ++i)
        if (log.Days[i].LineNo > line)
            return static_cast<std::int32_t>(i);
    return -1;
}

std::int32_t PrevDayLine(const TMailerLog& log, std::int32_t caret)
{
    const std::int32_t i = PrevDayIndex(log, caret);
    return i < 0 ? caret : log.Day(i).LineNo;
}

std::int32_t NextDayLine(const TMailerLog& log, std::int32_t caret)
{
    const std::int32_t i = NextDayIndex(log, caret);
    return i < 0 ? caret : log.Day(i).LineNo;
}

std::int32_t PrevSessionLine(const TMailerLog& log, std::int32_t caret)
{
    for (auto it = log.Sessions.crbegin(); it != log.Sessions.crend(); ++it)
        if (it->StartLine < caret)
            return it->StartLine;
    return caret;
}

std::int32_t NextSessionIndex(const TMailerLog& log, std::int32_t line)
{
    for (std::int32_t i = 0; i < log.SessCount; ++i)
        if (log.Session(i).StartLine > line)
            return i;
    return -1;
}

std::int32_t NextSessionLine(const TMailerLog& log, std::int32_t caret)
{
    const std::int32_t i = NextSessionIndex(log, caret);
    return i < 0 ? caret : log.Session(i).StartLine;
}

std::int32_t GenericPrevDayLine(TLog& log, const TLineSource& text, std::int32_t caret)
{
    std::int32_t n = std::min(caret, text.Count);
    TDateTime date = 0;
    for (; n >= 1; --n) {
        const std::string_view line = text.Line(n);
        if (!line.empty() && (date = SafeDateOfLine(log, line)) != 0)
            break;
    }
    if (n < 1)
        return 0;
    const TDateTime d = date;
    while (n > 1) {
        --n;
        const std::string_view line = text.Line(n);
        if (!line.empty())
            date = SafeDateOfLine(log, line);
        if (date < d)
            break;
    }
    return n;
}

std::int32_t GenericNextDayLine(TLog& log, const TLineSource& text, std::int32_t caret)
{
    const std::int32_t last = text.Count;
    std::int32_t n = std::max(caret, 1);
    while (n <= last && text.Line(n).empty())
        ++n;
    if (n > last)
        return 0;
    const TDateTime d = SafeDateOfLine(log, text.Line(n));
    TDateTime date = d;
    while (n < last) {
        ++n;
        const std::string_view line = text.Line(n);
        if (!line.empty())
            date = SafeDateOfLine(log, line);
        if (date > d)
            break;
    }
    return n;
}

std::int32_t SearchForward(const TLineSource& text, const std::function<bool(std::string_view)>& pred,
                           std::int32_t start)
{
    const std::int32_t last = text.Count;
    std::int32_t n = std::max(start, 0);
    do
        ++n;
    while (n < last && !pred(text.Line(n)));
    return std::min(n, std::max(last, 1));
}

std::int32_t SearchBackward(const TLineSource& text, const std::function<bool(std::string_view)>& pred,
                            std::int32_t start)
{
    std::int32_t n = std::min(start, text.Count + 1);
    do
        --n;
    while (n > 1 && !pred(text.Line(n)));
    return std::max(n, 1);
}

bool IsRunStart(std::string_view line) { return line.substr(0, 10) == "----------"; }

std::int32_t PrevRunLine(const TLineSource& text, std::int32_t caret) { return SearchBackward(text, IsRunStart, caret); }

std::int32_t NextRunLine(const TLineSource& text, std::int32_t caret) { return SearchForward(text, IsRunStart, caret); }

std::string TakeLastStr(const TLineSource& text)
{
    for (std::int32_t n = text.Count > 1 ? text.Count - 1 : text.Count; n >= 1; --n) {
        const std::string_view line = text.Line(n);
        if (!line.empty())
            return std::string(MarkOf(line));
    }
    return {};
}

std::string TakeLastStr(std::uint64_t size, const std::function<std::string(std::uint64_t from, std::size_t n)>& readAt)
{
    for (std::uint64_t want = std::uint64_t{64} << 10;; want *= 4) {
        const bool whole = want >= size;
        const std::uint64_t from = whole ? 0 : size - want;
        const std::string bytes = readAt(from, static_cast<std::size_t>(size - from));
        std::string_view tail = bytes;
        if (!whole) {
            // The first line may have begun before; the ones after its end are whole.
            const std::size_t lf = tail.find('\n');
            if (lf == std::string_view::npos)
                continue;
            tail.remove_prefix(lf + 1);
        }
        std::vector<std::string_view> lines;
        LineSplitter split(tail);
        for (std::string_view line; split.Next(line);)
            lines.push_back(line);
        const TLineSource source{static_cast<std::int32_t>(lines.size()),
                                 [&lines](std::int32_t n) { return lines[static_cast<std::size_t>(n - 1)]; }};
        if (whole)
            return TakeLastStr(source);
        // Lines lie before the tail, so its very last one is passed over as in the whole text.
        for (std::size_t k = lines.size(); k-- > 1;)
            if (!lines[k - 1].empty())
                return std::string(MarkOf(lines[k - 1]));
    }
}

std::int32_t FindLastStr(const TLineSource& text, std::string_view mark)
{
    return SearchBackward(text, [mark](std::string_view line) { return MarkOf(line) == mark; }, text.Count + 1);
}

}  // namespace tarvex
