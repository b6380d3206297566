#include "views/daychart.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/datetime.h"

using namespace tarvex;

namespace {

// Bytes are not among the user's colours; these stand apart from the session colours' defaults.
const QColor kSentColor(0x5a, 0x6e, 0x8c);
const QColor kRecdColor(0xe0, 0x8c, 0x1a);

constexpr int kGap = 6;

// A round top for an axis holding `max` in `unit`s, and the step of its grid lines: 1, 2 or 5
// times a power of ten of the unit, at most `steps` of them (a few more when rounding up needs).
std::pair<double, double> AxisTop(std::int64_t max, int steps, double unit = 1)
{
    if (max <= 0)
        return {unit, unit};
    const double raw = static_cast<double>(max) / unit / steps;
    const double power = std::pow(10.0, std::floor(std::log10(std::max(raw, 1.0))));
    double step = power;
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= raw) {
            step = f * power;
            break;
        }
    step = std::max(step, 1.0) * unit;
    return {std::ceil(static_cast<double>(max) / step) * step, step};
}

// Bytes are counted in K, M or G of 1024, so that the grid lines fall on round numbers of them.
double ByteUnit(std::int64_t max)
{
    double unit = 1;
    while (static_cast<double>(max) / unit >= 1024 && unit < 1e12)
        unit *= 1024;
    return unit;
}

QString ShortBytes(double n)
{
    const char* units[] = {"", "K", "M", "G", "T"};
    int u = 0;
    while (n >= 1024 && u < 4) {
        n /= 1024;
        ++u;
    }
    return u == 0 ? QString::number(static_cast<qint64>(n))
                  : QString::number(n, 'f', n < 10 && n != std::floor(n) ? 1 : 0) + units[u];
}

QString DayDate(TDateTime date) { return QString::fromStdString(FormatDDMMMYY(date)); }

}  // namespace

TDayChart::TDayChart(TColorOf colors, QWidget* parent) : QWidget(parent), ColorOf(std::move(colors))
{
    setObjectName("DayChart");
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDayChart::SetBars(std::vector<TDayBar> bars)
{
    DayBars = std::move(bars);
    MaxSessions = 0;
    MaxBytes = 0;
    for (const TDayBar& b : DayBars) {
        MaxSessions = std::max(MaxSessions, b.Sessions());
        MaxBytes = std::max({MaxBytes, b.BytesSent, b.BytesRecd});
    }
    update();
}

void TDayChart::MarkDay(std::int32_t day)
{
    if (Marked != day) {
        Marked = day;
        update();
    }
}

TDayChart::TGeometry TDayChart::Layout() const
{
    const QFontMetrics fm(font());
    TGeometry g;
    g.Left = fm.horizontalAdvance("9999.9M") + kGap;
    g.Right = std::max(g.Left + 1, width() - kGap);
    const int line = fm.height();
    const int top = 2 * line + 2 * kGap;  // the legend and the title of the sessions
    g.LabelTop = height() - line - kGap;
    const int plot = std::max(20, g.LabelTop - top - 2 * kGap - line);
    g.SessTop = top;
    g.SessBottom = top + plot * 55 / 100;
    g.BytesTop = g.SessBottom + 2 * kGap + line;  // below the title of the bytes
    g.BytesBottom = g.LabelTop - kGap;
    g.BytesMid = (g.BytesTop + g.BytesBottom) / 2;
    return g;
}

double TDayChart::Slot() const
{
    const TGeometry g = Layout();
    return DayBars.empty() ? 0.0 : static_cast<double>(g.Right - g.Left) / static_cast<double>(DayBars.size());
}

int TDayChart::BarAt(int x) const
{
    const TGeometry g = Layout();
    if (DayBars.empty() || x < g.Left || x >= g.Right)
        return -1;
    const auto n = static_cast<qint64>(DayBars.size());
    const qint64 w = g.Right - g.Left;
    const qint64 col = x - g.Left;
    if (n <= w)
        return static_cast<int>(std::min(n - 1, col * n / w));
    // Several days share the column: the one drawn, the busiest.
    const qint64 first = col * n / w;
    const qint64 last = std::max(first + 1, (col + 1) * n / w);
    qint64 best = first;
    for (qint64 i = first; i < last && i < n; ++i)
        if (DayBars[static_cast<std::size_t>(i)].Sessions() > DayBars[static_cast<std::size_t>(best)].Sessions())
            best = i;
    return static_cast<int>(best);
}

int TDayChart::BarCenter(int i) const
{
    const TGeometry g = Layout();
    if (i < 0 || static_cast<std::size_t>(i) >= DayBars.size())
        return -1;
    const double slot = Slot();
    return g.Left + static_cast<int>((i + 0.5) * slot);
}

void TDayChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QColor text = palette().color(QPalette::Text);
    QColor grid = text;
    grid.setAlpha(40);
    const QFontMetrics fm(font());
    const TGeometry g = Layout();
    const int w = g.Right - g.Left;

    // The legend, left to right.
    struct TKey {
        QColor Color;
        const char* Name;
    };
    const TKey keys[] = {{ColorOf(TColorItem::TLInc), "Incoming"},  {ColorOf(TColorItem::TLOut), "Outgoing"},
                         {ColorOf(TColorItem::TLHuman), "Human"},   {ColorOf(TColorItem::TLBad), "Failed"},
                         {kSentColor, "Bytes sent"},                {kRecdColor, "Bytes recd"}};
    int x = g.Left;
    const int box = fm.ascent() - 2;
    p.setPen(text);
    for (const TKey& k : keys) {
        if (!HumanKey && k.Name == std::string_view("Human"))
            continue;
        p.fillRect(QRect(x, kGap + (fm.height() - box) / 2, box, box), k.Color);
        x += box + 4;
        p.drawText(QPoint(x, kGap + fm.ascent()), k.Name);
        x += fm.horizontalAdvance(k.Name) + 3 * kGap;
    }
    if (!DayBars.empty()) {
        const QString range = DayDate(DayBars.front().Date) + " - " + DayDate(DayBars.back().Date);
        const int rw = fm.horizontalAdvance(range);
        if (x + rw <= g.Right)
            p.drawText(QPoint(g.Right - rw, kGap + fm.ascent()), range);
    }

    // Axes: grid lines and their values.
    const auto [sessTop, sessStep] = AxisTop(MaxSessions, 4);
    const auto [bytesTop, bytesStep] = AxisTop(MaxBytes, 3, ByteUnit(MaxBytes));
    const int sessH = g.SessBottom - g.SessTop;
    const int bytesH = g.BytesMid - g.BytesTop;
    auto sessY = [&](double v) { return g.SessBottom - static_cast<int>(std::lround(v / sessTop * sessH)); };
    auto bytesH_ = [&](double v) { return static_cast<int>(std::lround(v / bytesTop * bytesH)); };
    for (double v = 0; v <= sessTop + 0.5; v += sessStep) {
        const int y = sessY(v);
        p.setPen(grid);
        p.drawLine(g.Left, y, g.Right, y);
        p.setPen(text);
        p.drawText(QRect(0, y - fm.height() / 2, g.Left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(static_cast<qint64>(v)));
    }
    for (double v = 0; v <= bytesTop + 0.5; v += bytesStep)
        for (int sign : {-1, 1}) {
            if (v == 0 && sign < 0)
                continue;
            const int y = g.BytesMid - sign * bytesH_(v);
            p.setPen(grid);
            p.drawLine(g.Left, y, g.Right, y);
            p.setPen(text);
            p.drawText(QRect(0, y - fm.height() / 2, g.Left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                       ShortBytes(v));
        }
    p.setPen(text);
    p.drawText(QPoint(g.Left, g.SessTop - kGap - fm.descent()), "Sessions per day");
    p.drawText(QPoint(g.Left, g.BytesTop - kGap - fm.descent()), "Bytes per day: sent above the line, received below");
    if (DayBars.empty())
        return;

    // The bars: each day its slot, or each pixel column its busiest day when days outnumber them.
    const auto n = static_cast<qint64>(DayBars.size());
    const double slot = static_cast<double>(w) / static_cast<double>(n);
    const int columns = n <= w ? static_cast<int>(n) : w;
    const QColor stack[] = {ColorOf(TColorItem::TLBad), ColorOf(TColorItem::TLHuman), ColorOf(TColorItem::TLOut),
                            ColorOf(TColorItem::TLInc)};
    QColor mark = palette().color(QPalette::Highlight);
    mark.setAlpha(70);
    for (int c = 0; c < columns; ++c) {
        int x1 = 0, x2 = 0;
        qint64 first = c, last = c + 1;
        if (n <= w) {
            x1 = g.Left + static_cast<int>(c * slot);
            x2 = g.Left + static_cast<int>((c + 1) * slot);
            // Room between bars once a bar can spare it.
            if (x2 - x1 >= 4)
                x1 += std::max(1, (x2 - x1) / 5);
        } else {
            x1 = g.Left + c;
            x2 = x1 + 1;
            first = c * n / w;
            last = std::max(first + 1, (c + 1) * n / w);
        }
        // The busiest day draws the sessions; bytes show the most of either way in the column.
        std::size_t best = static_cast<std::size_t>(first);
        std::int64_t sent = 0, recd = 0;
        bool marked = false;
        for (qint64 i = first; i < last && i < n; ++i) {
            const TDayBar& b = DayBars[static_cast<std::size_t>(i)];
            if (b.Sessions() > DayBars[best].Sessions())
                best = static_cast<std::size_t>(i);
            sent = std::max(sent, b.BytesSent);
            recd = std::max(recd, b.BytesRecd);
            marked = marked || b.Day == Marked;
        }
        if (marked)
            p.fillRect(QRect(QPoint(x1, g.SessTop), QPoint(x2 - 1, g.BytesBottom)), mark);
        const TDayBar& b = DayBars[best];
        const std::int32_t counts[] = {b.Bad, b.Human, b.Out, b.In};
        double below = 0;
        for (int k = 0; k < 4; ++k) {
            if (counts[k] <= 0)
                continue;
            const int yBottom = sessY(below);
            below += counts[k];
            // At least a pixel for a kind that happened, however small its share.
            const int yTop = std::min(sessY(below), yBottom - 1);
            p.fillRect(QRect(QPoint(x1, yTop), QPoint(x2 - 1, yBottom - 1)), stack[k]);
        }
        if (sent > 0)
            p.fillRect(QRect(QPoint(x1, g.BytesMid - std::max(1, bytesH_(static_cast<double>(sent)))),
                             QPoint(x2 - 1, g.BytesMid - 1)),
                       kSentColor);
        if (recd > 0)
            p.fillRect(QRect(QPoint(x1, g.BytesMid + 1),
                             QPoint(x2 - 1, g.BytesMid + std::max(1, bytesH_(static_cast<double>(recd))))),
                       kRecdColor);
    }
    p.setPen(text);
    p.drawLine(g.Left, g.SessBottom, g.Right, g.SessBottom);
    p.drawLine(g.Left, g.BytesMid, g.Right, g.BytesMid);

    // Date labels, as many as fit side by side: every step-th day.
    const int labelW = fm.horizontalAdvance("00 Mmm") + 2 * kGap;
    const qint64 step = std::max<qint64>(1, static_cast<qint64>(std::ceil(labelW / slot)));
    int lastRight = -1;
    for (qint64 i = 0; i < n; i += step) {
        const int cx = g.Left + static_cast<int>((static_cast<double>(i) + 0.5) * slot);
        const QString label = QString::fromStdString(FormatDDMMM(DayBars[static_cast<std::size_t>(i)].Date));
        const int lw = fm.horizontalAdvance(label);
        const int lx = std::clamp(cx - lw / 2, 0, std::max(0, width() - lw));
        if (lx <= lastRight)
            continue;
        p.drawLine(cx, g.BytesBottom, cx, g.BytesBottom + 3);
        p.drawText(QPoint(lx, g.LabelTop + fm.ascent()), label);
        lastRight = lx + lw + kGap;
    }
}

void TDayChart::mousePressEvent(QMouseEvent* event)
{
    const int i = BarAt(event->position().toPoint().x());
    if (i >= 0 && event->button() == Qt::LeftButton) {
        const std::int32_t day = DayBars[static_cast<std::size_t>(i)].Day;
        MarkDay(day);
        emit DayClicked(day);
    }
    QWidget::mousePressEvent(event);
}

bool TDayChart::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int i = BarAt(help->pos().x());
        if (i < 0) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        const TDayBar& b = DayBars[static_cast<std::size_t>(i)];
        QString tip = DayDate(b.Date) + QString(": %1 sessions").arg(b.Sessions());
        tip += QString("\nIncoming %1, outgoing %2, human %3, failed %4").arg(b.In).arg(b.Out).arg(b.Human).arg(b.Bad);
        tip += QString("\nBytes sent %1, received %2").arg(b.BytesSent).arg(b.BytesRecd);
        QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}
