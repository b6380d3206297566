#pragma once
// Walking a log by day, session and run: where the caret goes from a line, over the records of
// an analysed log or, for the styles that are only shown, over the dates in the text itself.
// Lines are 1-based, as in the records. A function that finds nowhere to go returns the line it
// started from, so that the window simply stays.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "log/mailerlog.h"

namespace tarvex {

// The log's text, line by line, as the viewer holds it.
struct TLineSource {
    std::int32_t Count = 0;
    std::function<std::string_view(std::int32_t lineNo)> Line;  // 1..Count
};

// The first line of the day before / after the one the caret is in (the records' days).
std::int32_t PrevDayLine(const TMailerLog& log, std::int32_t caret);
std::int32_t NextDayLine(const TMailerLog& log, std::int32_t caret);
// The index of the day before / after the one holding line, or -1.
std::int32_t PrevDayIndex(const TMailerLog& log, std::int32_t line);
std::int32_t NextDayIndex(const TMailerLog& log, std::int32_t line);

// The first line of the session that starts before / after the caret.
std::int32_t PrevSessionLine(const TMailerLog& log, std::int32_t caret);
std::int32_t NextSessionLine(const TMailerLog& log, std::int32_t caret);
// The index of the first session that starts after line, or -1.
std::int32_t NextSessionIndex(const TMailerLog& log, std::int32_t line);

// Days of a log that is not analysed, read from the dates of its lines (a line whose date
// cannot be read counts as undated). 0 when there is no dated line to go from.
std::int32_t GenericPrevDayLine(TLog& log, const TLineSource& text, std::int32_t caret);
std::int32_t GenericNextDayLine(TLog& log, const TLineSource& text, std::int32_t caret);

// The next / previous line that pred holds for, after / before start; the last / first line
// of the text when none does.
std::int32_t SearchForward(const TLineSource& text, const std::function<bool(std::string_view)>& pred,
                           std::int32_t start);
std::int32_t SearchBackward(const TLineSource& text, const std::function<bool(std::string_view)>& pred,
                            std::int32_t start);

// Runs of a Generic FrontDoor log begin at a line of ten dashes.
bool IsRunStart(std::string_view line);
std::int32_t PrevRunLine(const TLineSource& text, std::int32_t caret);
std::int32_t NextRunLine(const TLineSource& text, std::int32_t caret);

// The mark of a text: the last non-empty line but the very last, which the mailer may still be
// writing (the only line when there is one). Empty for an empty text.
std::string TakeLastStr(const TLineSource& text);
// The same mark of a text known by its size and a reader of its bytes (a file whose lines are
// not all indexed yet, as when a window closes while it loads): only as much of its end is
// read as the mark needs.
std::string TakeLastStr(std::uint64_t size, const std::function<std::string(std::uint64_t from, std::size_t n)>& readAt);
// The last line that starts with the mark, or 1.
std::int32_t FindLastStr(const TLineSource& text, std::string_view mark);

}  // namespace tarvex
