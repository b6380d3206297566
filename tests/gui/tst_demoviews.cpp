#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "demodesktop.h"
#include "log/mailerlog.h"
#include "tmail/historyform.h"
#include "tmail/trafficform.h"
#include "viewer/logviewer.h"
#include "views/dialstatform.h"
#include "views/dialstatmodel.h"
#include "views/freqform.h"
#include "views/freqmodel.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

namespace {

// What a grid cuts short: a heading narrower than its column's header asks, or a text of the
// first rows wider than its cell less the margins the item views keep and the grid line.
// Empty when nothing is.
QString Clipped(const QTableView* grid)
{
    const QHeaderView* header = grid->horizontalHeader();
    const QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c) {
        const int width = header->sectionSize(c);
        if (header->sectionSizeHint(c) > width)
            return QString("%1: heading %2 in %3 pixels").arg(grid->objectName(), m->headerData(c, Qt::Horizontal).toString()).arg(width);
        for (int r = 0; r < std::min(m->rowCount(), 2000); ++r) {
            const QModelIndex i = m->index(r, c);
            QFont font = i.data(Qt::FontRole).isValid() ? i.data(Qt::FontRole).value<QFont>() : grid->font();
            font.setBold(font.bold() || i.data(TSessListModel::HighlightedRole).toBool());
            if (QFontMetrics(font).horizontalAdvance(i.data().toString()) + 7 > width)
                return QString("%1: %2 in %3 pixels").arg(grid->objectName(), i.data().toString()).arg(width);
        }
    }
    return {};
}

}  // namespace

// The dial statistics, timeline and request list of the demo's T-Mail log: they open from the
// tool bar, follow the caret, and the dial statistics window writes what the command line does.
class TestDemoViews : public QObject
{
    Q_OBJECT
private slots:
    void viewsOfTheDemoLog()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        TChildForm* w = f.Frame->LogWindows().front();
        const auto* mailer = static_cast<const tarvex::TMailerLog*>(w->Log);
        QVERIFY(mailer->DayCount > 2);

        w->BtnDialStat->click();
        w->TimelineBtn->click();
        w->FreqListBtn->click();
        TDialStatForm* ds = w->DialStat;
        TTimelineForm* tl = w->Timeline;
        TFreqForm* fr = w->FreqList;
        QVERIFY(ds && ds->isVisible() && tl && tl->isVisible() && fr && fr->isVisible());
        QCOMPARE(fr->Model->rowCount(), static_cast<int>(mailer->Freqs.size()));

        // The caret on the third day: both day views go there.
        w->GotoLine(mailer->Day(2).LineNo);
        QCOMPARE(ds->DayIndex, 2);
        QCOMPARE(ds->Model->rowCount(), mailer->NodeCount(2));
        QCOMPARE(tl->DayLabel->text(), ds->DayLabel->text());
        tl->grab();
        QVERIFY(!tl->Strip->Strip().Ticks.empty());

        // Selecting a request takes the log window to it.
        if (fr->Model->rowCount() > 1) {
            const int row = fr->Grid->currentIndex().row() == 0 ? 1 : 0;
            fr->Grid->setCurrentIndex(fr->Model->index(row, 0));
            QCOMPARE(w->Viewer()->CaretLine(), qint64(fr->Model->Freq(row).LineNo));
        }
        f.Frame->close();
    }

    // The demo's user has sized no column: every grid opens with its headings and texts whole
    // in the fonts of the machine it runs on, and the session list's window shows every column.
    void gridsOpenWideEnoughForTheirText()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        TChildForm* w = f.Frame->LogWindows().front();
        w->SessListBtn->click();
        w->BtnDialStat->click();
        w->FreqListBtn->click();
        w->GotoLine(static_cast<const tarvex::TMailerLog*>(w->Log)->Day(2).LineNo);
        f.Frame->findChild<QAction*>("TrafficItem")->trigger();
        f.Frame->findChild<QAction*>("HistoryItem")->trigger();
        QVERIFY(w->SessList && w->DialStat && w->FreqList && f.Frame->TrafficWindow() && f.Frame->HistoryWindow());
        QVERIFY(w->DialStat->Model->rowCount() > 0);
        for (const QTableView* grid : {w->SessList->Grid, w->DialStat->Grid, w->FreqList->Grid,
                                       f.Frame->TrafficWindow()->Grid(), f.Frame->HistoryWindow()->Grid()})
            QVERIFY2(Clipped(grid).isEmpty(), qPrintable(Clipped(grid)));
        const QTableView* sessions = w->SessList->Grid;
        QTRY_VERIFY(sessions->horizontalHeader()->length() <= sessions->viewport()->width());
        f.Frame->close();
    }
};

QTEST_MAIN(TestDemoViews)
#include "tst_demoviews.moc"
