#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "log/coloritems.h"
#include "base/recordsview.h"
#include "log/records.h"

namespace tarvex {

// The geometry of one day's strip of hours: where the hour ticks stand, which sessions are
// drawn as bars and where, and which session a pixel column belongs to. The window of hours
// runs from dayStart to dayEnd and may run over midnight (22 to 6); equal hours are a whole day.
class TTimelineStrip
{
public:
    struct TTick {
        int X;
        int Hour;
    };
    struct TBar {
        int X1;  // first pixel column
        int X2;  // one past the last pixel column of the rectangle; the hit map runs to X2 itself
        std::size_t Session;
        TColorItem Color;
    };

    static int SpanSeconds(int dayStart, int dayEnd);

    // Lays the strip out for `width` pixel columns and the day `dayNumber` (the whole days of
    // the day's date). Sessions are indexed in full width: any number of sessions is drawn.
    // The sessions' places are worked out once per window of hours and list of sessions, so
    // that stepping through days and repainting only visit the day's own sessions.
    void Layout(int dayStart, int dayEnd, int width, int dayNumber, TRecordsView<TSess> sessions);
    // Forgets the sessions' places (the records behind the same list changed).
    void Invalidate() { PlacedData = nullptr; }

    // The pixel column of a number of seconds from the window's start: times before it are
    // pressed against the left edge, times after it against the right.
    int Position(std::int64_t secs) const;
    // The session drawn at pixel column x; -1 for none.
    std::int64_t SessionAt(int x) const;

    int Width = 0;
    int Span = 86400;
    // When the strip is wider than the span has seconds a second takes one pixel and the strip
    // beyond the span stays empty.
    int SecsPerPixel = 1;
    std::vector<TTick> Ticks;
    std::vector<TBar> Bars;
    std::vector<std::int64_t> HitMap;

private:
    // A session that starts and ends on one strip: that strip's day and its seconds there.
    struct TPlaced {
        int Day;
        std::size_t Session;
        int Start;
        int End;
    };
    void Place(int dayStart, int dayEnd, TRecordsView<TSess> sessions);

    std::vector<TPlaced> Placed;  // ordered by day, then session
    const void* PlacedData = nullptr;
    std::size_t PlacedCount = 0;
    int PlacedStart = -1;
    int PlacedEnd = -1;
};

}  // namespace tarvex
