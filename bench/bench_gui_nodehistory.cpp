// The node history of the busiest node and the log overview of a 2-million-line T-Mail log:
// opening each (records to rows and bars, grid, first paint of chart and grid).
// Prints views.nodehistory_open_ms and views.overview_open_ms.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

#include "guibench.h"
#include "views/daychart.h"
#include "views/nodehistoryform.h"
#include "views/overviewform.h"

namespace {

// The node with the most tries and sessions over the whole log.
tarvex::TFidoAddr BusiestNode(const tarvex::TMailerLog& log, int& daysSeen)
{
    std::map<std::tuple<int, int, int, int>, std::pair<long long, int>> load;
    tarvex::TFidoAddr best;
    long long most = -1;
    for (const auto& day : log.DayStats)
        for (const tarvex::TNodeStat& n : day) {
            auto& l = load[{n.Addr.Zone, n.Addr.Net, n.Addr.Node, n.Addr.Point}];
            l.first += n.Tries + n.InSess + n.OutSess;
            ++l.second;
            if (l.first > most) {
                most = l.first;
                best = n.Addr;
                daysSeen = l.second;
            }
        }
    return best;
}

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
    frame.resize(1100, 900);
    frame.show();
    TChildForm* w = bench.Open(frame);
    if (!w)
        return 1;
    const auto* log = static_cast<tarvex::TMailerLog*>(w->Log);
    int daysSeen = 0;
    const tarvex::TFidoAddr node = BusiestNode(*log, daysSeen);

    std::vector<double> history, overview;
    int rows = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        w->ShowNodeHistory(node);
        TNodeHistoryForm* h = w->NodeHist;
        h->resize(900, 700);
        h->repaint();
        h->Chart->repaint();
        h->Grid->viewport()->repaint();
        history.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        rows = h->Grid->model()->rowCount();
        h->close();
        QApplication::processEvents();

        t.restart();
        w->ShowOverview();
        TOverviewForm* o = w->Overview;
        o->resize(900, 400);
        o->repaint();
        o->Chart->repaint();
        overview.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        o->close();
        QApplication::processEvents();
    }
    std::printf("views.nodehistory_open_ms\t%.1f\tms\n", Median(history));
    std::printf("views.overview_open_ms\t%.1f\tms\n", Median(overview));
    std::printf("views.nodehistory_rows\t%d\trows\n", rows);
    std::printf("views.nodehistory_node_days\t%d\tdays\n", daysSeen);
    std::printf("views.overview_days\t%zu\tdays\n", log->Days.size());
    std::printf("views.overview_sessions\t%d\tsessions\n", log->SessCount);
    frame.close();
    return 0;
}
