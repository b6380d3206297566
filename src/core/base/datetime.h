#pragma once
#include <cstdint>
#include <string>

namespace tarvex {

// Days since 30 December 1899; the fraction is the time of day. Negative values count back
// from that date, their fraction still being the time of day (as an absolute value).
using TDateTime = double;

constexpr std::int64_t MSecsPerDay = 86'400'000;

// Throw EConvertError on a date or time that does not exist (month 13, 30 Feb, hour 24, ...).
TDateTime EncodeDate(int y, int m, int d);
TDateTime EncodeTime(int h, int n, int s, int ms = 0);
bool TryEncodeDate(int y, int m, int d, TDateTime& out);
bool TryEncodeTime(int h, int n, int s, int ms, TDateTime& out);

// A date plus a time of day. Before 30 Dec 1899 the time is subtracted, as the fraction of a
// negative value counts away from zero.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// The value is rounded to the nearest millisecond before it is split, so that date and time
// always agree (23:59:59.9996 is 00:00:00.000 of the next day) and half-second steps add up
// without drift. Non-finite values decode as 0 (30 Dec 1899 00:00).
void DecodeDate(TDateTime t, int& y, int& m, int& d);
void DecodeTime(TDateTime t, int& h, int& n, int& s, int& ms);
// Whole days (rounded as above, towards zero) and the milliseconds into that day.
void SplitDateTime(TDateTime t, std::int64_t& days, std::int64_t& msOfDay);
int YearOf(TDateTime t);
bool IsLeapYear(int y);
int DaysInMonth(int y, int m);

// Fixed English month names; log dates are written and read with these whatever the locale.
extern const char* const ShortMonthNames[12];

std::string FormatDDMMM(TDateTime t);         // "05 Jan"
std::string FormatDDMMMYY(TDateTime t);       // "05 Jan 26"
std::string FormatDDMMHHNNSS(TDateTime t);    // "05/01 13:04:05"
std::string FormatHHMMSS(TDateTime t);        // "13:04:05"
std::string FormatISODateTime(TDateTime t);   // "2026-01-05 13:04:05"
std::string FormatISODate(TDateTime t);       // "2026-01-05"

// The computer's date when the program started: the year of every log line that does not
// write one. Read once from the local clock on first use unless set before.
TDateTime ProgramStartDate();
void SetProgramStartDate(TDateTime t);  // keeps the date part only
int ProgramStartYear();

// The date of a log line that writes no year. It takes the program's start year unless that
// would put it more than a day after the start date: a log read in January that still holds
// December's lines means last December. A year set with SetYearlessYear (the command line's
// --year) is taken as it is; 0 goes back to the rule. Throws EConvertError as EncodeDate does
// for a day the start year does not have.
TDateTime YearlessDate(int m, int d);
void SetYearlessYear(int year);
int YearlessYear();

}  // namespace tarvex
