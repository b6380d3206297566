// The timeline, dial statistics and file request list of a 2-million-line T-Mail log.
// Prints views.timeline_paint_ms (lay out and paint the strip of the day with the most
// sessions; views.timeline_first_layout_ms is the first layout after the window of hours changed), views.dialstat_setday_ms (SetDay to the day with the most nodes from another day,
// refill and paint) and views.freqlist_open_ms (open the request list, fill it and paint it).
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "guibench.h"
#include "report/timelinestrip.h"
#include "viewer/logviewer.h"
#include "views/dialstatform.h"
#include "views/freqform.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

namespace {

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::size_t lines = argc > 1 ? static_cast<std::size_t>(std::atoll(argv[1])) : 2000000;

    QTemporaryDir dir;
    const TBenchLog bench(dir, lines);
    TFrameForm frame(std::make_unique<tarvex::TMemorySettings>(), std::make_unique<TQuietUi>());
    frame.AppSettings.DayStart = 0;
    frame.AppSettings.DayEnd = 0;  // the whole day
    frame.resize(1100, 900);
    frame.show();
    TChildForm* w = bench.Open(frame);
    if (!w)
        return 1;
    const auto* log = static_cast<tarvex::TMailerLog*>(w->Log);
    if (log->DayCount < 2 || log->SessCount == 0)
        return 1;

    // The busiest day by sessions and the one with the most nodes.
    std::vector<int> perDay(static_cast<std::size_t>(log->DayCount), 0);
    for (std::int32_t s = 0; s < log->SessCount; ++s) {
        const int d = log->DayAtLine(log->Session(s).StartLine);
        if (d >= 0 && d < log->DayCount)
            ++perDay[static_cast<std::size_t>(d)];
    }
    const int busiest = static_cast<int>(std::max_element(perDay.begin(), perDay.end()) - perDay.begin());
    int mostNodes = 0;
    for (int d = 1; d < log->DayCount; ++d)
        if (log->NodeCount(d) > log->NodeCount(mostNodes))
            mostNodes = d;
    const int otherDay = mostNodes == 0 ? 1 : 0;

    const int rounds = 20;
    std::vector<double> timeline, dialstat, freqs;

    w->ShowTimeline();
    TTimelineForm* t = w->Timeline;
    t->resize(800, 200);
    t->SetDay(busiest);
    QApplication::processEvents();
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer e;
        e.start();
        t->Strip->Relayout();
        t->Strip->repaint();
        timeline.push_back(Ms(e));
    }
    const std::size_t bars = t->Strip->Strip().Bars.size();
    // The first layout after the log or the window of hours changed places every session once.
    std::vector<double> firstLayout;
    for (int i = 0; i < 5; ++i) {
        tarvex::TTimelineStrip cold;
        QElapsedTimer e;
        e.start();
        cold.Layout(0, 0, t->Strip->width(), t->Strip->DayNumber(),
                    tarvex::TRecordsView<tarvex::TSess>(log->Sessions, static_cast<std::size_t>(log->SessCount)));
        firstLayout.push_back(Ms(e));
    }
    t->close();

    w->ShowDialStat();
    TDialStatForm* ds = w->DialStat;
    ds->resize(400, 900);
    QApplication::processEvents();
    for (int i = 0; i < rounds; ++i) {
        ds->SetDay(otherDay);
        QElapsedTimer e;
        e.start();
        ds->SetDay(mostNodes);
        ds->Grid->viewport()->repaint();
        dialstat.push_back(Ms(e));
    }
    ds->close();

    for (int i = 0; i < 5; ++i) {
        QElapsedTimer e;
        e.start();
        w->ShowFreqList();
        w->FreqList->repaint();
        freqs.push_back(Ms(e));
        w->FreqList->close();
        QApplication::processEvents();
    }

    std::printf("views.timeline_paint_ms\t%.2f\tms\n", Median(timeline));
    std::printf("views.timeline_bars\t%zu\tbars\n", bars);
    std::printf("views.timeline_first_layout_ms\t%.2f\tms\n", Median(firstLayout));
    std::printf("views.log_lines\t%lld\tlines\n", static_cast<long long>(w->Viewer()->LineCount()));
    std::printf("views.log_sessions\t%d\tsessions\n", log->SessCount);
    std::printf("views.dialstat_setday_ms\t%.2f\tms\n", Median(dialstat));
    std::printf("views.dialstat_nodes\t%d\tnodes\n", log->NodeCount(mostNodes));
    std::printf("views.freqlist_open_ms\t%.1f\tms\n", Median(freqs));
    std::printf("views.freqlist_requests\t%zu\trequests\n", log->Freqs.size());
    frame.close();
    return 0;
}
