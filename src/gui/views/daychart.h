#pragma once
#include <QColor>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "log/coloritems.h"
#include "report/nodehistory.h"

// A bar chart of the days of a log: above, the sessions of each day stacked by outcome in the
// session colours; below, the bytes of each day, sent upwards and received downwards from a
// middle line. Painted here rather than through a chart library: a log of years has tens of
// thousands of days, and a day that gets less than a pixel column shares it with its
// neighbours, the busiest of them drawn. Date labels are thinned out to the room they have.
class TDayChart : public QWidget
{
    Q_OBJECT
public:
    using TColorOf = std::function<QColor(tarvex::TColorItem)>;

    TDayChart(TColorOf colors, QWidget* parent = nullptr);

    void SetBars(std::vector<tarvex::TDayBar> bars);
    const std::vector<tarvex::TDayBar>& Bars() const { return DayBars; }
    // The day drawn marked (-1: none), as the log's day index.
    void MarkDay(std::int32_t day);
    std::int32_t MarkedDay() const { return Marked; }
    // Whether the legend names human callers (a node's history never has them).
    void ShowHumanKey(bool on) { HumanKey = on; }

    // The bar under pixel column x of the widget (an index into Bars()); -1 outside them.
    int BarAt(int x) const;
    // The middle pixel column of bar i, for tests and the keyboard.
    int BarCenter(int i) const;

    QSize sizeHint() const override { return {640, 260}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

signals:
    // A day's bar was clicked (its index in the log's days).
    void DayClicked(std::int32_t day);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct TGeometry {
        int Left = 0, Right = 0;       // the plot's pixel columns
        int SessTop = 0, SessBottom = 0;
        int BytesTop = 0, BytesMid = 0, BytesBottom = 0;
        int LabelTop = 0;
    };
    TGeometry Layout() const;
    // Pixels per day; less than one when the days outnumber the plot's pixel columns.
    double Slot() const;

    TColorOf ColorOf;
    std::vector<tarvex::TDayBar> DayBars;
    std::int64_t MaxSessions = 0;
    std::int64_t MaxBytes = 0;
    std::int32_t Marked = -1;
    bool HumanKey = true;
};
