#include "views/timelineview.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "base/datetime.h"
#include "log/mailerlog.h"

using namespace tarvex;

TTimelineView::TTimelineView(ColorOf colors, QWidget* parent) : QWidget(parent), Colors(std::move(colors))
{
    setObjectName("TimelineView");
    setFixedHeight(73);
    setMinimumWidth(100);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTimelineView::SetWindow(int dayStart, int dayEnd)
{
    DayStart = dayStart;
    DayEnd = dayEnd;
    Relayout();
    update();
}

void TTimelineView::SetDayNumber(int day)
{
    Day = day;
    Relayout();
    update();
}

void TTimelineView::Relayout()
{
    TRecordsView<TSess> sessions;
    if (Log)
        sessions = TRecordsView<TSess>(Log->Sessions, static_cast<std::size_t>(std::max(Log->SessCount, 0)));
    Layout.Layout(DayStart, DayEnd, width(), Day, sessions);
}

void TTimelineView::paintEvent(QPaintEvent*)
{
    if (Layout.Width != width())
        Relayout();
    QPainter p(this);
    p.fillRect(rect(), Colors(TColorItem::Background));
    p.setPen(Colors(TColorItem::Normal));
    p.setFont(font());
    for (const TTimelineStrip::TTick& t : Layout.Ticks) {
        p.drawLine(t.X, 35, t.X, 40);
        p.drawText(QRect(t.X, 45, 40, 28), Qt::AlignLeft | Qt::AlignTop, QString::number(t.Hour));
    }
    p.setPen(Qt::black);
    for (const TTimelineStrip::TBar& b : Layout.Bars) {
        // A session shorter than a pixel still shows as one.
        const int right = std::max(b.X2 - 1, b.X1);
        const QRect r(QPoint(b.X1, 10), QPoint(right, 29));
        p.fillRect(r, Colors(b.Color));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

std::int64_t TTimelineView::SessionAtPoint(QPoint pos) const
{
    if (pos.y() < 10 || pos.y() > 30)
        return -1;
    return Layout.SessionAt(pos.x());
}

void TTimelineView::mousePressEvent(QMouseEvent* event)
{
    const std::int64_t s = SessionAtPoint(event->position().toPoint());
    if (s >= 0)
        emit SessionClicked(s);
    QWidget::mousePressEvent(event);
}

bool TTimelineView::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const std::int64_t s = SessionAtPoint(help->pos());
        if (s >= 0 && Log && static_cast<std::size_t>(s) < Log->Sessions.size()) {
            const TSess& sess = Log->Sessions[static_cast<std::size_t>(s)];
            // As the log window's status bar shows it.
            QToolTip::showText(help->globalPos(),
                               QString::fromStdString(FormatHHMMSS(sess.StartTime) + " " + SessDescription(sess)), this);
        } else {
            QToolTip::hideText();
            e->ignore();
        }
        return true;
    }
    return QWidget::event(e);
}
