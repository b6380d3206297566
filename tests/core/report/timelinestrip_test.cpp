#include <gtest/gtest.h>

#include "base/datetime.h"
#include "report/timelinestrip.h"

using namespace tarvex;

namespace {

TDateTime At(int d, int h, int n) { return ComposeDateTime(EncodeDate(2026, 12, d), EncodeTime(h, n, 0)); }

int DayNumber(int d)
{
    std::int64_t days = 0, ms = 0;
    SplitDateTime(EncodeDate(2026, 12, d), days, ms);
    return static_cast<int>(days);
}

TSess Sess(TDateTime start, TDateTime end, std::uint8_t flags = sfInbound)
{
    TSess s(1, start);
    s.EndTime = end;
    s.Flags = flags;
    return s;
}

std::vector<int> Hours(const TTimelineStrip& t)
{
    std::vector<int> h;
    for (const auto& tick : t.Ticks)
        h.push_back(tick.Hour);
    return h;
}

}  // namespace

TEST(TimelineStripTest, EightHoursOn480Pixels)
{
    const std::vector<TSess> s = {Sess(At(7, 2, 0), At(7, 2, 30)), Sess(At(6, 2, 0), At(6, 2, 30))};
    TTimelineStrip t;
    t.Layout(0, 8, 480, DayNumber(7), s);
    EXPECT_EQ(t.Span, 28800);
    EXPECT_EQ(t.SecsPerPixel, 60);
    ASSERT_EQ(t.Ticks.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(t.Ticks[i].X, static_cast<int>(i) * 60);
        EXPECT_EQ(t.Ticks[i].Hour, static_cast<int>(i));
    }
    ASSERT_EQ(t.Bars.size(), 1u);  // the other day's session is not on this strip
    EXPECT_EQ(t.Bars[0].X1, 120);
    EXPECT_EQ(t.Bars[0].X2, 150);
    EXPECT_EQ(t.Bars[0].Color, TColorItem::TLInc);
    EXPECT_EQ(t.SessionAt(119), -1);
    EXPECT_EQ(t.SessionAt(120), 0);
    EXPECT_EQ(t.SessionAt(150), 0);
    EXPECT_EQ(t.SessionAt(151), -1);
    EXPECT_EQ(t.SessionAt(-1), -1);
    EXPECT_EQ(t.SessionAt(480), -1);
}

TEST(TimelineStripTest, WindowOverMidnight)
{
    const std::vector<TSess> s = {
        Sess(At(6, 23, 10), At(7, 0, 20), sfFailed),
        Sess(At(7, 10, 0), At(7, 10, 5), 0),  // after the window: against the right edge
    };
    TTimelineStrip t;
    t.Layout(22, 6, 480, DayNumber(7), s);
    EXPECT_EQ(t.Span, 28800);
    EXPECT_EQ(Hours(t), (std::vector<int>{22, 23, 0, 1, 2, 3, 4, 5}));
    ASSERT_EQ(t.Bars.size(), 2u);
    EXPECT_EQ(t.Bars[0].X1, 4200 / 60);
    EXPECT_EQ(t.Bars[0].X2, 8400 / 60);
    EXPECT_EQ(t.Bars[0].Color, TColorItem::TLBad);
    EXPECT_EQ(t.Bars[1].X1, 479);
    EXPECT_EQ(t.Bars[1].X2, 479);
    EXPECT_EQ(t.Bars[1].Color, TColorItem::TLOut);
    EXPECT_EQ(t.SessionAt(479), 1);
    // The first session belongs to 7 December's strip, not to the 6th's.
    t.Layout(22, 6, 480, DayNumber(6), s);
    EXPECT_TRUE(t.Bars.empty());
    // Another window of hours on the same strip places the sessions anew: the first one now
    // runs over the end of its calendar day and is on no strip.
    t.Layout(0, 8, 480, DayNumber(7), s);
    ASSERT_EQ(t.Bars.size(), 1u);
    EXPECT_EQ(t.Bars[0].Session, 1u);
    EXPECT_EQ(t.Bars[0].X1, 479);
}

TEST(TimelineStripTest, EqualHoursAreAWholeDayThatDoesNotRunOverMidnight)
{
    const std::vector<TSess> s = {
        Sess(At(7, 3, 0), At(7, 3, 10)),    // before 05:00: pressed against the left edge
        Sess(At(7, 23, 50), At(8, 0, 10)),  // ends the next day: not drawn
    };
    TTimelineStrip t;
    t.Layout(5, 5, 480, DayNumber(7), s);
    EXPECT_EQ(t.Span, 86400);
    EXPECT_EQ(t.SecsPerPixel, 180);
    ASSERT_EQ(t.Ticks.size(), 24u);
    EXPECT_EQ(t.Ticks.front().Hour, 5);
    EXPECT_EQ(t.Ticks[18].Hour, 23);
    EXPECT_EQ(t.Ticks[19].Hour, 0);
    EXPECT_EQ(t.Ticks.back().Hour, 4);
    ASSERT_EQ(t.Bars.size(), 1u);
    EXPECT_EQ(t.Bars[0].X1, 0);
    EXPECT_EQ(t.Bars[0].X2, 0);
}

TEST(TimelineStripTest, StripWiderThanTheSpanAndManySessions)
{
    // One hour on 5000 pixels: a second a pixel, the strip beyond 3600 stays empty.
    std::vector<TSess> s = {Sess(At(7, 1, 0), At(7, 3, 0))};
    TTimelineStrip t;
    t.Layout(1, 2, 5000, DayNumber(7), s);
    EXPECT_EQ(t.SecsPerPixel, 1);
    ASSERT_EQ(t.Bars.size(), 1u);
    EXPECT_EQ(t.Bars[0].X2, 3599);
    EXPECT_EQ(t.SessionAt(3600), -1);

    // More sessions than 16-bit indices hold: the last one is still found.
    s.assign(70000, Sess(At(6, 1, 0), At(6, 1, 1)));
    s.push_back(Sess(At(7, 4, 0), At(7, 4, 30)));
    t.Layout(0, 8, 480, DayNumber(7), s);
    ASSERT_EQ(t.Bars.size(), 1u);
    EXPECT_EQ(t.SessionAt(240), 70000);

    t.Layout(0, 8, 0, DayNumber(7), s);
    EXPECT_TRUE(t.HitMap.empty());
    EXPECT_EQ(t.Position(100), 0);
}
