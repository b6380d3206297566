#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/datetime.h"
#include "log/tlog.h"

namespace tarvex {

// Where a log is cut when it is opened. Each routine answers with the first byte or line that
// is kept; the caller drops what lies before it. "Nothing to cut" is an empty answer, so that
// a cut that cannot be placed safely never damages the log.

// The byte limit of a KBytes cut, in 64-bit arithmetic; 0 for "no cut" (sizes of 0 or less).
std::uint64_t CutLimitBytes(std::int32_t cutSizeKBytes);

// A KBytes cut of text: the window bytes starting at size - limit are scanned for the first
// line feed (and, with stopAtNul, the first 0 byte); the kept part begins just after it. Empty
// when the text is not larger than limit, or when no such byte lies in the window (cutting
// there would split a line).
std::optional<std::size_t> KeptStartByKBytes(std::string_view text, std::uint64_t limit, std::size_t window,
                                             bool stopAtNul);
// The same for a text of size bytes that is not at hand whole (a viewer reads its log on
// demand): readAt(from, n) gives the n bytes at from, the only ones the cut looks at.
using TReadAt = std::function<std::string(std::size_t from, std::size_t n)>;
std::optional<std::size_t> KeptStartByKBytes(std::size_t size, const TReadAt& readAt, std::uint64_t limit,
                                             std::size_t window, bool stopAtNul);

// A days cut: the 0-based index of the first line kept so that the lines of the last `days`
// dates remain, counted back from the last line. lineAt(i) gives line i (0-based) of lineCount
// lines; dateAt(i) the date of line i when it is not empty (0 for undated). When the log holds
// no more than `days` dates, only leading empty lines go.
using TLineAt = std::function<std::string_view(std::size_t)>;
std::size_t FirstKeptLineByDays(std::size_t lineCount, const TLineAt& lineAt,
                                const std::function<TDateTime(std::size_t)>& dateAt, std::int32_t days,
                                const std::function<void(std::int32_t)>& progress = {});

// The same for a log of that style, its lines dated as a days cut dates them: by the style's
// date of each line, or, for a style that dates its lines by separators, by the nearest
// separator above (0 above the first).
std::size_t FirstKeptLineByDays(TLog& log, std::size_t lineCount, const TLineAt& lineAt, std::int32_t days,
                                const std::function<void(std::int32_t)>& progress = {});

// The date a days cut gives a line of the log: the style's date, 0 for a line it cannot read.
TDateTime CutDateOfLine(TLog& log, std::string_view line);

}  // namespace tarvex
