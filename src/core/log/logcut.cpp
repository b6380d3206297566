#include "log/logcut.h"

namespace tarvex {

std::uint64_t CutLimitBytes(std::int32_t cutSizeKBytes)
{
    return cutSizeKBytes > 0 ? static_cast<std::uint64_t>(cutSizeKBytes) * 1024u : 0;
}

std::optional<std::size_t> KeptStartByKBytes(std::string_view text, std::uint64_t limit, std::size_t window,
                                             bool stopAtNul)
{
    if (limit == 0 || limit >= text.size())
        return std::nullopt;
    const std::size_t from = text.size() - static_cast<std::size_t>(limit);
    const std::size_t end = from + window < text.size() ? from + window : text.size();
    for (std::size_t i = from; i < end; ++i)
        if (text[i] == '\n' || (stopAtNul && text[i] == '\0'))
            return i + 1;
    return std::nullopt;
}

std::size_t FirstKeptLineByDays(std::size_t lineCount, const std::function<std::string_view(std::size_t)>& lineAt,
                                const std::function<TDateTime(std::string_view)>& dateOf, std::int32_t days,
                                const std::function<void(std::int32_t)>& progress)
{
    if (lineCount == 0 || days <= 0)
        return 0;
    // Walk back date by date; after round d, n is the last line of the d-th date from the end.
    std::size_t n = lineCount;
    TDateTime previous = 0;
    TDateTime current = 0;
    bool reachedTop = false;
    for (std::int32_t d = 1; d <= days + 1; ++d) {
        if (progress)
            progress(d - 1);
        do {
            --n;
            const std::string_view line = lineAt(n);
            if (!line.empty())
                current = dateOf(line);
        } while (current == previous && n != 0);
        if (n == 0) {
            // Line 1 closes the date to drop only when it starts a date of its own.
            reachedTop = !(d == days + 1 && current != previous);
            break;
        }
        previous = current;
    }
    // Keep from the first non-empty line after the last line of the newest dropped date; when
    // the top was reached, everything but leading empty lines stays.
    std::size_t first = reachedTop ? 0 : n + 1;
    while (first + 1 < lineCount && lineAt(first).empty())
        ++first;
    if (first >= lineCount)
        first = lineCount - 1;
    return first;
}

TDateTime CutDateOfLine(TLog& log, std::string_view line)
{
    try {
        return log.DateOfLine(line);
    } catch (...) {
        return TDateTime(0);
    }
}

}  // namespace tarvex
