#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "demodesktop.h"
#include "log/mailerlog.h"
#include "viewer/logviewer.h"
#include "views/dialstatform.h"
#include "views/dialstatmodel.h"
#include "views/freqform.h"
#include "views/freqmodel.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

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
};

QTEST_MAIN(TestDemoViews)
#include "tst_demoviews.moc"
