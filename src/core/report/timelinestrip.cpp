#include "report/timelinestrip.h"

#include <algorithm>

#include "base/logutils.h"

namespace tarvex {

int TTimelineStrip::SpanSeconds(int dayStart, int dayEnd)
{
    return (dayEnd - dayStart) * 3600 + (dayStart >= dayEnd ? 86400 : 0);
}

int TTimelineStrip::Position(std::int64_t secs) const
{
    if (secs < 0 || Width <= 0)
        return 0;
    // The last column the span reaches: the strip's own last one, or fewer at 1 second a pixel.
    const std::int64_t last = std::min<std::int64_t>(Width, (Span + SecsPerPixel - 1) / SecsPerPixel) - 1;
    return static_cast<int>(std::min<std::int64_t>(secs / SecsPerPixel, last));
}

std::int64_t TTimelineStrip::SessionAt(int x) const
{
    if (x < 0 || static_cast<std::size_t>(x) >= HitMap.size())
        return -1;
    return HitMap[static_cast<std::size_t>(x)];
}

void TTimelineStrip::Place(int dayStart, int dayEnd, TRecordsView<TSess> sessions)
{
    if (PlacedData == sessions.Source() && PlacedCount == sessions.size() && PlacedStart == dayStart &&
        PlacedEnd == dayEnd)
        return;
    Placed.clear();
    for (std::size_t k = 0; k < sessions.size(); ++k) {
        const TSess& s = sessions[k];
        int dS = 0, sS = 0, dE = 0, sE = 0;
        TimelinePos(s.StartTime, dayStart, dayEnd, dS, sS);
        TimelinePos(s.EndTime, dayStart, dayEnd, dE, sE);
        // A session that starts on one strip and ends on another is on neither.
        if (dS == dE)
            Placed.push_back({dS, k, sS, sE});
    }
    std::stable_sort(Placed.begin(), Placed.end(), [](const TPlaced& a, const TPlaced& b) { return a.Day < b.Day; });
    PlacedData = sessions.Source();
    PlacedCount = sessions.size();
    PlacedStart = dayStart;
    PlacedEnd = dayEnd;
}

void TTimelineStrip::Layout(int dayStart, int dayEnd, int width, int dayNumber, TRecordsView<TSess> sessions)
{
    dayStart = std::clamp(dayStart, 0, 23);
    dayEnd = std::clamp(dayEnd, 0, 23);
    Width = std::max(width, 0);
    Span = SpanSeconds(dayStart, dayEnd);
    SecsPerPixel = Width > 0 ? std::max(Span / Width, 1) : 1;
    HitMap.assign(static_cast<std::size_t>(Width), -1);
    Ticks.clear();
    Bars.clear();
    if (Width == 0)
        return;
    for (int i = 0; i < Span / 3600; ++i)
        Ticks.push_back({Position(std::int64_t{i} * 3600), (dayStart + i) % 24});
    Place(dayStart, dayEnd, sessions);
    const auto first = std::lower_bound(Placed.begin(), Placed.end(), dayNumber,
                                        [](const TPlaced& p, int day) { return p.Day < day; });
    for (auto it = first; it != Placed.end() && it->Day == dayNumber; ++it) {
        const int x1 = Position(it->Start), x2 = Position(it->End);
        Bars.push_back({x1, x2, it->Session, SessColor(sessions[it->Session])});
        for (int x = x1; x <= x2; ++x)
            HitMap[static_cast<std::size_t>(x)] = static_cast<std::int64_t>(it->Session);
    }
}

}  // namespace tarvex
