#include "app/toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 20;

void Arrow(QPainter& p, QPointF tip, qreal dx, qreal dy, const QColor& c)
{
    // A filled triangle pointing along (dx, dy).
    const QPointF back(tip.x() - dx * 7, tip.y() - dy * 7);
    const QPointF side(-dy * 5, dx * 5);
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(back + side);
    path.lineTo(back - side);
    path.closeSubpath();
    p.fillPath(path, c);
}

void Page(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 3)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

QPixmap Draw(TToolIcon which)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(30, 80, 190), green(20, 140, 60), red(200, 30, 30), dark(50, 50, 50);
    switch (which) {
    case TToolIcon::Close:
        p.setPen(QPen(dark, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
        break;
    case TToolIcon::Kill:
        p.setPen(QPen(dark, 1.2));
        p.setBrush(QColor(210, 210, 210));
        p.drawRect(QRectF(5, 6, 10, 12));
        p.drawLine(QPointF(3, 5), QPointF(17, 5));
        p.drawRect(QRectF(8, 2.5, 4, 2.5));
        p.setPen(QPen(red, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(8, 16));
        p.drawLine(QPointF(12, 8), QPointF(12, 16));
        break;
    case TToolIcon::PrevDay:
        Arrow(p, QPointF(10, 2), 0, -1, blue);
        Arrow(p, QPointF(10, 10), 0, -1, blue);
        p.fillRect(QRectF(4, 15, 12, 2), dark);
        break;
    case TToolIcon::NextDay:
        p.fillRect(QRectF(4, 3, 12, 2), dark);
        Arrow(p, QPointF(10, 18), 0, 1, blue);
        Arrow(p, QPointF(10, 10), 0, 1, blue);
        break;
    case TToolIcon::DayList:
        p.setPen(QPen(dark, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 15, 14));
        p.fillRect(QRectF(3, 4, 14, 3), red);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                p.fillRect(QRectF(4 + c * 3.5, 8.5 + r * 3, 2, 2), dark);
        break;
    case TToolIcon::PrevSession:
        Arrow(p, QPointF(2, 10), -1, 0, green);
        p.fillRect(QRectF(9, 8.5, 9, 3), green);
        break;
    case TToolIcon::NextSession:
        p.fillRect(QRectF(2, 8.5, 9, 3), green);
        Arrow(p, QPointF(18, 10), 1, 0, green);
        break;
    case TToolIcon::Find:
        p.setPen(QPen(dark, 2));
        p.setBrush(QColor(200, 225, 255));
        p.drawEllipse(QPointF(8, 8), 5, 5);
        p.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(17, 17));
        break;
    case TToolIcon::Copy:
        Page(p, QRectF(2.5, 2.5, 10, 12));
        Page(p, QRectF(7.5, 6.5, 10, 12));
        break;
    case TToolIcon::Highlight: {
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.setPen(red);
        p.drawText(QRectF(0, 0, 11, 18), Qt::AlignCenter, "A");
        p.setPen(blue);
        p.drawText(QRectF(8, 0, 12, 18), Qt::AlignCenter, "b");
        p.fillRect(QRectF(2, 17, 16, 2), green);
        break;
    }
    case TToolIcon::SessionList:
        p.setPen(QPen(dark, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        for (int r = 0; r < 4; ++r) {
            p.fillRect(QRectF(4, 5 + r * 3, 3, 2), r % 2 ? blue : green);
            p.fillRect(QRectF(8, 5 + r * 3, 8, 2), dark);
        }
        break;
    case TToolIcon::FreqList:
        Page(p, QRectF(4.5, 6.5, 11, 11));
        Arrow(p, QPointF(10, 12), 0, 1, green);
        p.fillRect(QRectF(8.5, 1, 3, 5), green);
        break;
    case TToolIcon::Timeline:
        p.setPen(QPen(dark, 1));
        p.drawLine(QPointF(2, 17.5), QPointF(18, 17.5));
        p.fillRect(QRectF(3, 4, 6, 3), green);
        p.fillRect(QRectF(8, 9, 8, 3), blue);
        p.fillRect(QRectF(5, 13, 4, 3), red);
        break;
    case TToolIcon::DialStat:
        p.fillRect(QRectF(3, 11, 3, 7), blue);
        p.fillRect(QRectF(8.5, 6, 3, 12), green);
        p.fillRect(QRectF(14, 3, 3, 15), red);
        p.setPen(QPen(dark, 1));
        p.drawLine(QPointF(2, 18.5), QPointF(18, 18.5));
        break;
    case TToolIcon::Follow:
        // Lines of text and an arrow down to the line still being written.
        for (int r = 0; r < 3; ++r)
            p.fillRect(QRectF(2, 2.5 + r * 3.5, r == 2 ? 6 : 9, 2), dark);
        p.fillRect(QRectF(13.5, 2, 3, 8), green);
        Arrow(p, QPointF(15, 16), 0, 1, green);
        p.fillRect(QRectF(2, 17, 16, 2), blue);
        break;
    }
    return pm;
}

}  // namespace

QIcon ToolIcon(TToolIcon which) { return QIcon(Draw(which)); }
