#include "log/logcut.h"

#include <optional>
#include <string>

namespace tarvex {

std::uint64_t CutLimitBytes(std::int32_t cutSizeKBytes)
{
    return cutSizeKBytes > 0 ? static_cast<std::uint64_t>(cutSizeKBytes) * 1024u : 0;
}

std::optional<std::size_t> KeptStartByKBytes(std::size_t size, const TReadAt& readAt, std::uint64_t limit,
                                             std::size_t window, bool stopAtNul)
{
    if (limit == 0 || limit >= size)
        return std::nullopt;
    const std::size_t from = size - static_cast<std::size_t>(limit);
    const std::size_t end = from + window < size ? from + window : size;
    const std::string bytes = readAt(from, end - from);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' || (stopAtNul && bytes[i] == '\0'))
            return from + i + 1;
    return std::nullopt;
}

std::optional<std::size_t> KeptStartByKBytes(std::string_view text, std::uint64_t limit, std::size_t window,
                                             bool stopAtNul)
{
    return KeptStartByKBytes(
        text.size(), [text](std::size_t from, std::size_t n) { return std::string(text.substr(from, n)); }, limit,
        window, stopAtNul);
}

std::size_t FirstKeptLineByDays(std::size_t lineCount, const TLineAt& lineAt,
                                const std::function<TDateTime(std::size_t)>& dateAt, std::int32_t days,
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
            if (!lineAt(n).empty())
                current = dateAt(n);
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

namespace {

// The date of the nearest separator at or above a line, found by walking up from it. The cut
// asks for lines from the end upwards, so the separator last found answers for every line
// down to the one last asked about, and each line is read about once.
class TSeparatorDates
{
public:
    TSeparatorDates(const TLog& log, const TLineAt& lineAt) : Log(log), LineAt(lineAt) {}

    TDateTime At(std::size_t i)
    {
        if (Known && i >= From && i <= To)
            return Date;
        // Below the known run only the lines between need reading; above it, all up to a separator.
        const std::size_t stop = Known && i > To ? To + 1 : 0;
        for (std::size_t j = i + 1; j-- > stop;)
            if (const auto date = DateOf(LineAt(j))) {
                Known = true;
                From = j;
                To = i;
                Date = *date;
                return Date;
            }
        if (Known && i > To) {
            To = i;
            return Date;
        }
        Known = true;
        From = 0;
        To = i;
        Date = 0;
        return Date;
    }

private:
    // A separator whose date cannot be read opens no day in a pass either.
    std::optional<TDateTime> DateOf(std::string_view line) const
    {
        try {
            return Log.SeparatorDate(line);
        } catch (...) {
            return std::nullopt;
        }
    }

    const TLog& Log;
    const TLineAt& LineAt;
    bool Known = false;
    std::size_t From = 0, To = 0;  // lines From..To take Date
    TDateTime Date = 0;
};

}  // namespace

std::size_t FirstKeptLineByDays(TLog& log, std::size_t lineCount, const TLineAt& lineAt, std::int32_t days,
                                const std::function<void(std::int32_t)>& progress)
{
    if (log.DatesBySeparators()) {
        TSeparatorDates dates(log, lineAt);
        return FirstKeptLineByDays(lineCount, lineAt, [&](std::size_t i) { return dates.At(i); }, days, progress);
    }
    return FirstKeptLineByDays(
        lineCount, lineAt, [&](std::size_t i) { return CutDateOfLine(log, lineAt(i)); }, days, progress);
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
