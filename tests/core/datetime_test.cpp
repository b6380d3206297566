#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/errors.h"
#include "base/datetime.h"

using namespace tarvex;

namespace {

struct Ymd
{
    int y, m, d;
};

Ymd DateOf(TDateTime t)
{
    Ymd r{};
    DecodeDate(t, r.y, r.m, r.d);
    return r;
}

}  // namespace

TEST(EncodeDate, KnownDays)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0);  // 1900 is not a leap year
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2026, 1, 5), 46027.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(EncodeDate, RejectsDatesThatDoNotExist)
{
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 0, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 1, 0), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    TDateTime t = 123;
    EXPECT_FALSE(TryEncodeDate(2026, 2, 30, t));
    EXPECT_EQ(t, 123);
}

TEST(EncodeTime, RangesAndValues)
{
    EXPECT_EQ(EncodeTime(12, 0, 0), 0.5);
    const int bads[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}};
    for (const auto& bad : bads) {
        TDateTime t = 7;
        EXPECT_FALSE(TryEncodeTime(bad[0], bad[1], bad[2], bad[3], t));
        EXPECT_EQ(t, 7);
        EXPECT_THROW(EncodeTime(bad[0], bad[1], bad[2], bad[3]), EConvertError);
    }
}

TEST(DecodeDate, RoundTripsEveryDayOfLeapAndCenturyYears)
{
    for (int y : {1899, 1900, 1999, 2000, 2024, 2025, 2100}) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const Ymd r = DateOf(ComposeDateTime(EncodeDate(y, m, d), EncodeTime(23, 59, 59, 999)));
                ASSERT_EQ(r.y, y);
                ASSERT_EQ(r.m, m);
                ASSERT_EQ(r.d, d);
            }
        }
    }
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(DecodeTime, HalfSecondStepsDecodeExactly)
{
    // Truncating instead of rounding turns many of these into xx.499 and loses a second.
    const TDateTime d = EncodeDate(2026, 1, 5);
    const TDateTime half = 0.5 / 86400.0;
    for (int k = 0; k < 2 * 86400; ++k) {
        int h, n, s, ms;
        DecodeTime(d + k * half, h, n, s, ms);
        ASSERT_EQ(h * 3600000 + n * 60000 + s * 1000 + ms, k * 500) << k;
    }
    int h, n, s, ms;
    DecodeTime(d + 2 * 86400 * half, h, n, s, ms);
    EXPECT_EQ(h + n + s + ms, 0);
    EXPECT_EQ(DateOf(d + 2 * 86400 * half).d, 6);
}

TEST(DecodeTime, NearMidnightRollsToNextDayTogether)
{
    const TDateTime d = EncodeDate(2024, 2, 28);
    int h, n, s, ms;
    DecodeTime(d + EncodeTime(23, 59, 59, 999), h, n, s, ms);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(n, 59);
    EXPECT_EQ(s, 59);
    EXPECT_EQ(ms, 999);
    const TDateTime almost = d + 1 - 0.0001 / 86400.0;  // 0.1 ms before midnight
    DecodeTime(almost, h, n, s, ms);
    EXPECT_EQ(h + n + s + ms, 0);
    const Ymd r = DateOf(almost);
    EXPECT_EQ(r.m, 2);
    EXPECT_EQ(r.d, 29);
}

TEST(DecodeTime, NegativeValuesTakeTruncatedDateAndAbsoluteTime)
{
    int h, n, s, ms;
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(n, 0);
    const Ymd r = DateOf(-1.25);
    EXPECT_EQ(r.y, 1899);
    EXPECT_EQ(r.m, 12);
    EXPECT_EQ(r.d, 29);
    const Ymd z = DateOf(-0.5);  // still day 0
    EXPECT_EQ(z.d, 30);
    const TDateTime before = ComposeDateTime(EncodeDate(1899, 12, 1), EncodeTime(18, 30, 0));
    DecodeTime(before, h, n, s, ms);
    EXPECT_EQ(h, 18);
    EXPECT_EQ(n, 30);
    EXPECT_EQ(DateOf(before).d, 1);
    EXPECT_EQ(ComposeDateTime(EncodeDate(2026, 1, 5), 0.25), 46027.25);
}

TEST(DecodeDate, NonFiniteAndHugeValuesStaySane)
{
    const Ymd nan = DateOf(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan.y, 1899);
    const Ymd inf = DateOf(std::numeric_limits<double>::infinity());
    EXPECT_EQ(inf.y, 1899);
    EXPECT_GT(DateOf(1e300).y, 9999);
    EXPECT_LT(DateOf(-1e300).y, 1);
    int h, n, s, ms;
    DecodeTime(1e300, h, n, s, ms);
    EXPECT_EQ(h, 0);
}

TEST(Formatting, FixedEnglishLayouts)
{
    const TDateTime t = EncodeDate(2026, 1, 5) + EncodeTime(13, 4, 5);
    EXPECT_EQ(FormatDDMMM(t), "05 Jan");
    EXPECT_EQ(FormatDDMMMYY(t), "05 Jan 26");
    EXPECT_EQ(FormatDDMMHHNNSS(t), "05/01 13:04:05");
    EXPECT_EQ(FormatHHMMSS(t), "13:04:05");
    EXPECT_EQ(FormatISODateTime(t), "2026-01-05 13:04:05");
    EXPECT_EQ(FormatISODate(t), "2026-01-05");
    EXPECT_EQ(FormatDDMMMYY(EncodeDate(2000, 12, 31)), "31 Dec 00");
    EXPECT_EQ(FormatISODate(EncodeDate(987, 6, 7)), "0987-06-07");
    EXPECT_EQ(FormatHHMMSS(EncodeTime(23, 59, 59, 500)), "23:59:59");  // seconds are not rounded up
    EXPECT_EQ(YearOf(t), 2026);
    EXPECT_EQ(YearOf(0), 1899);
}

TEST(ProgramStartDate, SettableAndKeepsDateOnly)
{
    SetProgramStartDate(EncodeDate(2025, 7, 14) + EncodeTime(18, 0, 0));
    EXPECT_EQ(ProgramStartDate(), EncodeDate(2025, 7, 14));
    EXPECT_EQ(ProgramStartYear(), 2025);
    SetProgramStartDate(EncodeDate(1999, 12, 31));
    EXPECT_EQ(ProgramStartYear(), 1999);
}
