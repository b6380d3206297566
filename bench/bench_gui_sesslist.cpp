// The session list of a 2-million-line T-Mail log: opening it (columns, model, first paint)
// and repainting a full screen of rows, the same rows again and a page further down each time.
// Prints views.sesslist_open_ms, views.sesslist_paint_ms and views.sesslist_page_paint_ms.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "guibench.h"
#include "views/sesslistform.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::size_t lines = argc > 1 ? static_cast<std::size_t>(std::atoll(argv[1])) : 2000000;

    QTemporaryDir dir;
    const TBenchLog bench(dir, lines);

    auto store = std::make_unique<tarvex::TMemorySettings>();
    // Every column type on screen, so that a repaint draws every kind of text.
    const std::string section = "bench.SessList";
    store->WriteInteger(section, "NumColumns", 12);
    for (int t = 0; t < 12; ++t) {
        const std::string p = "Column" + std::to_string(t);
        store->WriteInteger(section, p + ".ColType", t);
        store->WriteInteger(section, p + ".ScrWidth", 80);
    }
    store->WriteInteger(section, "HighlightCnt", 1);
    store->WriteString(section, "Highlight0", "2:5020/52");
    TFrameForm frame(std::move(store), std::make_unique<TQuietUi>());
    frame.resize(1100, 900);
    frame.show();
    TChildForm* w = bench.Open(frame);
    if (!w)
        return 1;
    const int sessions = static_cast<tarvex::TMailerLog*>(w->Log)->SessCount;

    // TARVEX_BENCH_ROUNDS: more repaints, for a profiler.
    const int PaintRounds = std::getenv("TARVEX_BENCH_ROUNDS") ? std::atoi(std::getenv("TARVEX_BENCH_ROUNDS")) : 20;
    std::vector<double> open, paint, page;
    int rows = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        w->GotoLine(static_cast<std::int32_t>(lines / 2));
        w->ShowSessionList();
        TSessListForm* list = w->SessList;
        list->resize(1000, 900);
        list->repaint();
        list->Grid->viewport()->repaint();
        open.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        QApplication::processEvents();
        rows = list->Grid->viewport()->height() / list->Grid->verticalHeader()->defaultSectionSize();
        for (int i = 0; i < PaintRounds; ++i) {
            QElapsedTimer p;
            p.start();
            list->Grid->viewport()->repaint();
            paint.push_back(static_cast<double>(p.nsecsElapsed()) / 1e6);
        }
        // A page further down each time: rows never painted before.
        for (int i = 0; i < 20; ++i) {
            QScrollBar* bar = list->Grid->verticalScrollBar();
            bar->setValue(bar->value() + rows);
            QApplication::processEvents();  // the scroll itself is not painting
            QElapsedTimer p;
            p.start();
            list->Grid->viewport()->repaint();
            page.push_back(static_cast<double>(p.nsecsElapsed()) / 1e6);
        }
        list->close();
        QApplication::processEvents();
    }
    std::printf("views.sesslist_open_ms\t%.1f\tms\n", Median(open));
    // The least disturbed repaint, as the machine may be shared; the median beside it.
    std::printf("views.sesslist_paint_ms\t%.2f\tms\n", *std::min_element(paint.begin(), paint.end()));
    std::printf("views.sesslist_paint_median_ms\t%.2f\tms\n", Median(paint));
    std::printf("views.sesslist_page_paint_ms\t%.2f\tms\n", Median(page));
    std::printf("views.sesslist_sessions\t%d\tsessions\n", sessions);
    std::printf("views.sesslist_rows_painted\t%d\trows\n", rows);
    frame.close();
    return 0;
}
