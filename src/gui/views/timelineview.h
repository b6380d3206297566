#pragma once
#include <QWidget>
#include <functional>

#include "log/coloritems.h"
#include "report/timelinestrip.h"

namespace tarvex {
class TMailerLog;
}

// The strip of hours of the timeline, 73 pixels high: the hour scale and a bar for each
// session of the shown day in its colour. A click on a bar and the tooltip over it name the
// session drawn there.
class TTimelineView : public QWidget
{
    Q_OBJECT
public:
    using ColorOf = std::function<QColor(tarvex::TColorItem)>;
    TTimelineView(ColorOf colors, QWidget* parent);

    void SetLog(const tarvex::TMailerLog* log)
    {
        Log = log;
        Layout.Invalidate();
    }
    void SetWindow(int dayStart, int dayEnd);
    void SetDayNumber(int day);
    // Lays the strip out for the current width (painting does it too).
    void Relayout();

    const tarvex::TTimelineStrip& Strip() const { return Layout; }
    int DayNumber() const { return Day; }

    QSize sizeHint() const override { return {480, 73}; }

signals:
    // A bar was clicked: the session's index.
    void SessionClicked(std::int64_t session);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::int64_t SessionAtPoint(QPoint p) const;

    ColorOf Colors;
    const tarvex::TMailerLog* Log = nullptr;
    int DayStart = 0;
    int DayEnd = 8;
    int Day = 0;
    tarvex::TTimelineStrip Layout;
};
