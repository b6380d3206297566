#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/datetime.h"

namespace tarvex {

// Byte strings, 1-based positions, and a blank is the space character (32) only: tabs and
// other control bytes are ordinary characters to every routine here.

// --- words and trimming -------------------------------------------------------------------

// The n-th word (n from 1) of s; every character of delims separates words, runs of them count
// as one separator and leading ones are skipped. Fewer than n words (or n < 1): empty.
std::string WordAt(int n, std::string_view s, std::string_view delims);
// The same words as views into s, for the analysis passes that read every line.
std::string_view WordViewAt(int n, std::string_view s, std::string_view delims);
std::string_view WordViewAt(int n, std::string_view s, char delim);
std::string_view LeadingTrimmed(std::string_view s);
std::string_view TrailingTrimmed(std::string_view s);
inline std::string_view OuterTrimmed(std::string_view s) { return TrailingTrimmed(LeadingTrimmed(s)); }
std::string DropLeadingSpaces(std::string_view s);
std::string DropTrailingSpaces(std::string_view s);
std::string DropOuterSpaces(std::string_view s);
std::string RemoveChar(std::string_view s, char c);
std::string RepeatChar(char c, int n);  // n < 1: empty
std::string PadRight(std::string_view s, int n);
std::string TextBefore(std::string_view s, char c);
// Returns TextBefore(s, c); s becomes the rest from the delimiter on (the delimiter stays as its
// first character for the caller to delete), leading blanks dropped.
std::string CutBefore(std::string& s, char c);
// '?' any one character, '*' any run; the whole of s must match. Linear in practice, at worst
// |s| x |pattern| steps, never exponential.
bool MatchWild(std::string_view s, std::string_view pattern, bool ignoreCase);

// --- numbers --------------------------------------------------------------------------------

// Integer conversion: leading blanks, an optional sign, then decimal digits or a hexadecimal
// number after "$", "0x" or "0X"; nothing may follow. A value outside the 32-bit signed range
// or any other text throws EConvertError("'<s>' is not a valid integer value").
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& out);
// The message StrToInt throws for s.
std::string NotIntegerMessage(std::string_view s);
int StrToIntDef(std::string_view s, int def);
// "1,234,567" -> 1234567; thousands separators are simply removed.
int StrToIntGrouped(std::string_view s);
// The same at 64 bits, for byte counts and durations: a hub passes more than 2 GB a day.
std::int64_t StrToInt64(std::string_view s);
bool TryStrToInt64(std::string_view s, std::int64_t& out);
std::int64_t StrToInt64Grouped(std::string_view s);

// Counters summed from log lines wrap on damaged numbers, never overflow: files are counted at
// 32 bits, bytes at 64.
inline void AddWrapped(std::int32_t& sum, std::int64_t add)
{
    sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(sum) + add));
}

inline void AddWrapped(std::int64_t& sum, std::int64_t add)
{
    sum = static_cast<std::int64_t>(static_cast<std::uint64_t>(sum) + static_cast<std::uint64_t>(add));
}

inline void SubtractWrapped(std::int64_t& sum, std::int64_t sub)
{
    sum = static_cast<std::int64_t>(static_cast<std::uint64_t>(sum) - static_cast<std::uint64_t>(sub));
}

// --- names and paths in log text --------------------------------------------------------------

// "FILE.ZIP (123)" -> "FILE.ZIP": from a final ')' back to the nearest '(' and the character
// before it. Unchanged when s does not end with ')' or holds no '('.
std::string StripParenthesized(std::string_view s);
// The part after the last backslash, ignoring a trailing one ("C:\DIR\" -> "DIR\").
std::string FileNameOf(std::string_view path);
std::string_view FileNameViewOf(std::string_view path);
std::string NoTrailingBackslash(std::string_view s);

// --- dates, sizes, durations ----------------------------------------------------------------

// "Jan".."Dec" -> 1..12, exact and case-sensitive; anything else throws EConvertError("Invalid month").
int MonthOfName(std::string_view name);
std::string SizeToStr(std::int64_t n);  // 1025 -> "1K", 1048577 -> "1M"
std::string SecsToStr(std::int64_t n);  // 3725 -> "1:02:05"; negative: "-" and the magnitude
// Places t on a timeline whose day runs from hour dayStart to dayEnd; when dayStart > dayEnd
// the day runs over midnight and the evening belongs to the next day's strip.
void TimelinePos(TDateTime t, int dayStart, int dayEnd, int& day, int& secs);

// --- ASCII case -------------------------------------------------------------------------------

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
inline char UpCaseChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace tarvex
