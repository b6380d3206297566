#include "base/datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "base/errors.h"

namespace tarvex {

const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {

using namespace std::chrono;

// 30 Dec 1899 as days since the Unix epoch: the zero of TDateTime.
constexpr int DateDelta = -25569;

// Decoding stays within years 1..9999 and their neighbours; this keeps every intermediate
// number far from overflow whatever the double holds.
constexpr double MaxAbsDays = 3'000'000.0;

std::string Pad(int v, int width)
{
    std::string digits = std::to_string(v < 0 ? -v : v);
    std::string r = v < 0 ? "-" : "";
    if (digits.size() < static_cast<std::size_t>(width))
        r.append(static_cast<std::size_t>(width) - digits.size(), '0');
    return r + digits;
}

struct Parts
{
    int y = 1899, m = 12, d = 30, h = 0, n = 0, s = 0, ms = 0;
};

Parts Decode(TDateTime t)
{
    std::int64_t days = 0, msOfDay = 0;
    SplitDateTime(t, days, msOfDay);
    Parts p;
    const year_month_day ymd{sys_days{std::chrono::days{days + DateDelta}}};
    p.y = static_cast<int>(ymd.year());
    p.m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    p.d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    const auto ms = static_cast<int>(msOfDay);
    p.h = ms / 3'600'000;
    p.n = ms / 60'000 % 60;
    p.s = ms / 1000 % 60;
    p.ms = ms % 1000;
    return p;
}

bool StartDateSet = false;
TDateTime StartDate = 0;
// The year of StartDate, kept because log lines without a year ask for it line after line.
int StartYear = 0;
int FixedYear = 0;  // the year of yearless dates when the user gave one
bool StartYearKnown = false;

}  // namespace

bool IsLeapYear(int y)
{
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

int DaysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

bool TryEncodeDate(int y, int m, int d, TDateTime& out)
{
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return false;
    const sys_days sd{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
    out = static_cast<double>(sd.time_since_epoch().count() - DateDelta);
    return true;
}

TDateTime EncodeDate(int y, int m, int d)
{
    TDateTime t = 0;
    if (!TryEncodeDate(y, m, d, t))
        throw EConvertError("Invalid argument to date encode");
    return t;
}

bool TryEncodeTime(int h, int n, int s, int ms, TDateTime& out)
{
    if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        return false;
    const std::int64_t total = ((static_cast<std::int64_t>(h) * 60 + n) * 60 + s) * 1000 + ms;
    out = static_cast<double>(total) / static_cast<double>(MSecsPerDay);
    return true;
}

TDateTime EncodeTime(int h, int n, int s, int ms)
{
    TDateTime t = 0;
    if (!TryEncodeTime(h, n, s, ms, t))
        throw EConvertError("Invalid argument to time encode");
    return t;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

void SplitDateTime(TDateTime t, std::int64_t& days, std::int64_t& msOfDay)
{
    if (!std::isfinite(t))
        t = 0;
    if (t > MaxAbsDays)
        t = MaxAbsDays;
    if (t < -MaxAbsDays)
        t = -MaxAbsDays;
    // Round the whole value to milliseconds first, then split: the date part goes towards
    // zero and the time of day is the magnitude of what is left, as for negative dates.
    const std::int64_t total = std::llround(t * static_cast<double>(MSecsPerDay));
    days = total / MSecsPerDay;
    msOfDay = (total < 0 ? -total : total) % MSecsPerDay;
}

void DecodeDate(TDateTime t, int& y, int& m, int& d)
{
    const Parts p = Decode(t);
    y = p.y;
    m = p.m;
    d = p.d;
}

void DecodeTime(TDateTime t, int& h, int& n, int& s, int& ms)
{
    const Parts p = Decode(t);
    h = p.h;
    n = p.n;
    s = p.s;
    ms = p.ms;
}

int YearOf(TDateTime t)
{
    return Decode(t).y;
}

std::string FormatDDMMM(TDateTime t)
{
    const Parts p = Decode(t);
    return Pad(p.d, 2) + " " + ShortMonthNames[p.m - 1];
}

std::string FormatDDMMMYY(TDateTime t)
{
    const Parts p = Decode(t);
    return Pad(p.d, 2) + " " + ShortMonthNames[p.m - 1] + " " + Pad((p.y % 100 + 100) % 100, 2);
}

std::string FormatHHMMSS(TDateTime t)
{
    const Parts p = Decode(t);
    return Pad(p.h, 2) + ":" + Pad(p.n, 2) + ":" + Pad(p.s, 2);
}

std::string FormatDDMMHHNNSS(TDateTime t)
{
    const Parts p = Decode(t);
    return Pad(p.d, 2) + "/" + Pad(p.m, 2) + " " + Pad(p.h, 2) + ":" + Pad(p.n, 2) + ":" + Pad(p.s, 2);
}

std::string FormatISODate(TDateTime t)
{
    const Parts p = Decode(t);
    return Pad(p.y, 4) + "-" + Pad(p.m, 2) + "-" + Pad(p.d, 2);
}

std::string FormatISODateTime(TDateTime t)
{
    return FormatISODate(t) + " " + FormatHHMMSS(t);
}

TDateTime ProgramStartDate()
{
    if (!StartDateSet) {
        const std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        TDateTime today = 0;
        if (local == nullptr ||
            !TryEncodeDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, today))
            today = 0;
        StartDate = today;
        StartDateSet = true;
        StartYearKnown = false;
    }
    return StartDate;
}

void SetProgramStartDate(TDateTime t)
{
    std::int64_t days = 0, ms = 0;
    SplitDateTime(t, days, ms);
    StartDate = static_cast<double>(days);
    StartDateSet = true;
    StartYearKnown = false;
}

int ProgramStartYear()
{
    if (!StartYearKnown || !StartDateSet) {
        StartYear = YearOf(ProgramStartDate());
        StartYearKnown = true;
    }
    return StartYear;
}

TDateTime YearlessDate(int m, int d)
{
    if (FixedYear != 0)
        return EncodeDate(FixedYear, m, d);
    const int year = ProgramStartYear();
    const TDateTime date = EncodeDate(year, m, d);
    TDateTime before = 0;
    if (date > ProgramStartDate() + 1 && TryEncodeDate(year - 1, m, d, before))
        return before;
    return date;
}

void SetYearlessYear(int year) { FixedYear = year; }

int YearlessYear() { return FixedYear; }

}  // namespace tarvex
