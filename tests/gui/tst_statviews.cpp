#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "common/grids.h"
#include "frametest.h"
#include "guitestutil.h"
#include "teststyle.h"
#include "viewer/logviewer.h"
#include "views/dialstatform.h"
#include "views/dialstatmodel.h"
#include "views/freqform.h"
#include "views/freqmodel.h"
#include "views/sesslistform.h"
#include "views/slsetupform.h"
#include "views/timelineform.h"
#include "views/timelineview.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// Two days. Day 1 (lines 1-10): 2:5020/1 busy twice, then reached, its session at line 4; a
// session in from 2:5020/52 at line 6 that requests two files. Day 2 (lines 11-15): a session
// in from 2:5030/15 at line 12 that requests one file at line 14.
QByteArray TwoDays()
{
    return "01/03 01:00:00 DIAL 2:5020/1 BUSY\n"
           "01/03 01:10:00 DIAL 2:5020/1 BUSY\n"
           "01/03 02:00:00 DIAL 2:5020/1\n"
           "01/03 02:00:05 CONNECT OUT\n"
           "01/03 02:30:05 END 5000 12000\n"
           "01/03 04:00:00 CONNECT IN\n"
           "01/03 04:00:01 ADDR 2:5020/52\n"
           "01/03 04:00:02 FREQ FILES\n"
           "01/03 04:00:03 FREQ ALIAS\n"
           "01/03 04:01:31 END 100 200\n"
           "02/03 09:00:00 DIAL 2:5030/15 NOCARRIER\n"
           "02/03 09:10:00 CONNECT IN\n"
           "02/03 09:10:06 ADDR 2:5030/15\n"
           "02/03 09:10:07 FREQ NODELIST\n"
           "02/03 09:10:16 END 300 400\n";
}

}  // namespace

class TestStatViews : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init() { StartFrame("v"); }
    void cleanup() { StopFrame(); }

    void dialStatFollowsTheDay()
    {
        TChildForm* w = OpenLog();
        QVERIFY(w->BtnDialStat->isEnabled());
        w->GotoLine(2);
        w->BtnDialStat->click();
        TDialStatForm* ds = w->DialStat;
        QVERIFY(ds && ds->isVisible() && ds->isWindow());
        QVERIFY(ds->windowTitle().startsWith("Dial statistics"));
        QCOMPARE(ds->DayIndex, 0);
        QCOMPARE(ds->DayLabel->text(), QString("01 Mar 26"));
        TDialStatModel* m = ds->Model;
        QCOMPARE(m->columnCount(), 3);  // Node, Out sess, In sess
        QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QString("Out sess"));
        QVERIFY(ds->Grid->horizontalHeader()->sectionSize(0) >= 90);  // the design width, or what the font needs
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->CellText(0, 0), QString("2:5020/1"));
        QCOMPARE(m->CellText(0, 1), QString("1"));
        QCOMPARE(m->CellText(1, 0), QString("2:5020/52"));
        QCOMPARE(m->CellText(1, 2), QString("1"));
        QCOMPARE(ds->Grid->verticalHeader()->defaultSectionSize(), FontHeight(ds->Grid->font()) + 2);

        // Within the same day nothing is filled again; the next day is.
        const int fills = ds->FillCount;
        w->GotoLine(6);
        QCOMPARE(ds->FillCount, fills);
        w->GotoLine(12);
        QCOMPARE(ds->DayIndex, 1);
        QCOMPARE(ds->FillCount, fills + 1);
        QCOMPARE(ds->DayLabel->text(), QString("02 Mar 26"));
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(m->CellText(0, 0), QString("2:5030/15"));
        ds->grab();

        QTest::keyClick(ds, Qt::Key_Escape);
        QTRY_VERIFY(!w->DialStat);
    }

    void dialStatColumnsSetupAndReport()
    {
        TChildForm* w = OpenLog();
        w->GotoLine(2);
        w->ShowDialStat();
        TDialStatForm* ds = w->DialStat;
        QString caption, eighth;
        int types = 0;
        ds->ExecSetup = [&](TSLSetupForm& dialog) {
            caption = dialog.windowTitle();
            types = dialog.CmbType->count();
            eighth = dialog.CmbType->itemText(8);
            dialog.EdtHighlight->setPlainText("2:5020/1\n");
            dialog.LbxColumns->setCurrentRow(0);
            dialog.BtnAdd->click();
            dialog.CmbType->setCurrentIndex(8);
            emit dialog.CmbType->activated(8);
            dialog.ChkFile->click();
            dialog.EdtFileWidth->selectAll();
            QTest::keyClicks(dialog.EdtFileWidth, "8");
            return int(QDialog::Accepted);
        };
        ds->ReportBtnClick();
        QCOMPARE(F->Messages->back(), std::string("No file columns defined!"));
        ds->SetupBtnClick();
        QCOMPARE(caption, QString("Dial statistics setup"));
        QCOMPARE(types, 10);
        QCOMPARE(eighth, QString("Time online"));
        QCOMPARE(ds->Model->columnCount(), 4);
        QVERIFY(ds->Model->data(ds->Model->index(0, 0), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!ds->Model->data(ds->Model->index(1, 0), Qt::FontRole).isValid());
        int online = -1;
        for (int k = 0; k < 4; ++k)
            if (ds->Model->headerData(k, Qt::Horizontal).toString() == "Time online")
                online = k;
        QVERIFY(online >= 0);
        QCOMPARE(ds->Model->CellText(0, online), QString("0:30:00"));

        const QString rep = Dir.filePath("dial.rep");
        ds->AskReportFile = [&] { return rep; };
        ds->ReportBtnClick();
        const QByteArray bytes = ReadBytes(rep);
        QVERIFY(bytes.contains("Time online"));
        QVERIFY(bytes.contains("0:30:00 "));
        QCOMPARE(bytes.count("\r\n"), 6);  // top, headings, under the headings, 2 nodes, bottom
    }

    void highlightListOfTheWindowClosedLastIsStored()
    {
        TChildForm* w = OpenLog();
        w->ShowSessionList();
        w->ShowDialStat();
        TSessListForm* list = w->SessList;
        TDialStatForm* ds = w->DialStat;
        list->Highlight.Clear();
        list->Highlight.Add(TFidoAddr::Parse("2:5020/52"));
        ds->Highlight.Clear();
        ds->Highlight.Add(TFidoAddr::Parse("2:5030/15"));
        list->close();
        ds->close();
        QCOMPARE(F->Frame->Store().ReadString("test.SessList", "Highlight0", ""), std::string("2:5030/15"));
        w->ShowDialStat();
        w->ShowSessionList();
        w->DialStat->Highlight.Clear();
        w->DialStat->Highlight.Add(TFidoAddr::Parse("1:1/1"));
        w->DialStat->close();
        w->SessList->close();
        QCOMPARE(F->Frame->Store().ReadString("test.SessList", "Highlight0", ""), std::string("2:5030/15"));
        // The next dial statistics read what the session list stored.
        w->ShowDialStat();
        QCOMPARE(w->DialStat->Highlight.Count(), 1u);
        QCOMPARE(w->DialStat->Highlight[0].ToString(), std::string("2:5030/15"));
    }

    void timelineDrawsClicksAndSteps()
    {
        F->Frame->AppSettings.DayStart = 0;
        F->Frame->AppSettings.DayEnd = 8;
        TChildForm* w = OpenLog();
        w->GotoLine(1);
        w->TimelineBtn->click();
        TTimelineForm* t = w->Timeline;
        QVERIFY(t && t->isVisible() && t->isWindow());
        QVERIFY(t->windowTitle().startsWith("Timeline"));
        QCOMPARE(t->Strip->height(), 73);
        QCOMPARE(t->DayLabel->text(), QString("01 Mar 26"));
        t->Strip->setFixedWidth(480);
        QTRY_COMPARE(t->Strip->width(), 480);
        t->Strip->Relayout();
        const TTimelineStrip& s = t->Strip->Strip();
        QCOMPARE(s.SecsPerPixel, 60);
        QCOMPARE(s.Bars.size(), std::size_t(2));
        QCOMPARE(s.Bars[0].X1, 120);  // 02:00:05 to 02:30:05
        QCOMPARE(s.Bars[0].X2, 150);
        t->Strip->grab();

        // Between bars nothing happens; on a bar the log window goes to the session.
        QTest::mouseClick(t->Strip, Qt::LeftButton, {}, QPoint(200, 20));
        QCOMPARE(w->Viewer()->CaretLine(), 1);
        QTest::mouseClick(t->Strip, Qt::LeftButton, {}, QPoint(130, 5));  // above the bars
        QCOMPARE(w->Viewer()->CaretLine(), 1);
        QTest::mouseClick(t->Strip, Qt::LeftButton, {}, QPoint(130, 20));
        QCOMPARE(w->Viewer()->CaretLine(), 4);
        QVERIFY(!t->Navigating);

        // Stepping days does not move the caret; the first day has no previous one.
        t->PrevDayClick();
        QCOMPARE(t->DayLabel->text(), QString("01 Mar 26"));
        t->NextBtn->click();
        QCOMPARE(t->DayLabel->text(), QString("02 Mar 26"));
        QCOMPARE(w->Viewer()->CaretLine(), 4);
        t->NextDayClick();
        QCOMPARE(t->DayLabel->text(), QString("02 Mar 26"));
        w->GotoLine(3);
        QCOMPARE(t->DayLabel->text(), QString("01 Mar 26"));

        // The spin fields wrap and change the shared setting.
        t->StartEdit->setValue(23);
        t->StartEdit->stepUp();
        QCOMPARE(t->StartEdit->value(), 0);
        t->EndEdit->stepDown();
        QCOMPARE(F->Frame->AppSettings.DayEnd, std::uint16_t(7));
        QCOMPARE(t->Strip->Strip().Span, 7 * 3600);
        QTest::keyClick(t, Qt::Key_Escape);
        QTRY_VERIFY(!w->Timeline);
    }

    void timelineRefusedWithoutSessions()
    {
        const QString path = Dir.filePath("empty.log");
        WriteBytes(path, "01/03 01:00:00 DIAL 2:5020/1 BUSY\n");
        TChildForm* w = OpenLog(path);
        w->ShowTimeline();
        QVERIFY(!w->Timeline);
        QCOMPARE(F->Messages->back(), std::string("Can't show timeline: no sessions in log"));
    }

    void freqListStartRowAndNavigation()
    {
        QCOMPARE(TFreqForm::StartRow(-1, 3), 2);  // no mark: the last row
        QCOMPARE(TFreqForm::StartRow(3, 3), 2);   // all before the mark: the last row
        QCOMPARE(TFreqForm::StartRow(1, 3), 1);   // the second and third are new
        QCOMPARE(TFreqForm::StartRow(-1, 0), -1);

        TChildForm* w = OpenLog();
        w->GotoLine(2);
        QCOMPARE(Log->Freqs.size(), std::size_t(3));
        // More requests than the window shows: the starting row can be the top row.
        for (int i = 0; i < 20; ++i)
            Log->Freqs.push_back(Log->Freqs[2]);
        Log->FirstNewFreq = 1;
        Log->Freqs[1].Freq.Name = "REAL.ZIP";  // what the alias resolved to
        Log->Freqs[0].Freq.Sent = true;
        w->FreqListBtn->click();
        TFreqForm* f = w->FreqList;
        QVERIFY(f && f->isVisible() && f->isWindow());
        QVERIFY(f->windowTitle().startsWith("File requests"));
        QCOMPARE(w->Viewer()->CaretLine(), 2);  // opening does not move the log window
        QCOMPARE(f->Grid->currentIndex().row(), 1);
        QTRY_COMPARE(f->Grid->rowAt(0), 1);  // and is the top row
        TFreqModel* m = f->Model;
        QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("Status"));
        QCOMPARE(m->CellText(1, 0), QString("2:5020/52"));
        QCOMPARE(m->CellText(1, 1), QString("ALIAS"));
        QCOMPARE(m->CellText(0, 2), QString("OK"));
        QCOMPARE(m->CellText(1, 2), QString("Fail"));
        QCOMPARE(m->data(m->index(1, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!m->data(m->index(0, 0), Qt::ForegroundRole).isValid());
        QVERIFY(f->Grid->horizontalHeader()->sectionSize(1) >= 98);
        f->grab();

        f->Grid->setCurrentIndex(m->index(2, 0));
        QCOMPARE(w->Viewer()->CaretLine(), 14);
        f->Grid->horizontalHeader()->resizeSection(1, 150);
        QTest::keyClick(f->Grid, Qt::Key_Escape);
        QTRY_VERIFY(!w->FreqList);
        QCOMPARE(F->Frame->Store().ReadInteger("TFreqFormFreqGrid", "Item1", 0), 150);

        // With FreqRealName the real name shows; the stored width comes back.
        F->Frame->AppSettings.FreqRealName = true;
        w->ShowFreqList();
        QCOMPARE(w->FreqList->Model->CellText(1, 1), QString("REAL.ZIP"));
        QCOMPARE(w->FreqList->Grid->horizontalHeader()->sectionSize(1), 150);
    }

    void viewsReopenWithTheDesktop()
    {
        F->Frame->AppSettings.SaveDesktop = true;
        TChildForm* w = OpenLog();
        w->ShowFreqList();
        w->ShowTimeline();
        w->ShowDialStat();
        w->DialStat->move(40, 50);
        w->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(Log));
        ISettingsStore& store = F->Frame->Store();
        QVERIFY(store.ReadBool("test.DialStat", "Open", false));
        QVERIFY(store.ReadBool("test.Timeline", "Open", false));
        QVERIFY(store.ReadBool("test.FreqList", "Open", false));
        QVERIFY(!store.ReadBool("test.SessList", "Open", true));
        QCOMPARE(store.ReadInteger("test.DialStat", "Left", 0), 40);

        F->Frame->OpenLog(Log);
        w = F->Frame->WindowOfLog(Log);
        QVERIFY(w);
        QTRY_VERIFY(w->DialStat && w->Timeline && w->FreqList);
        QVERIFY(!w->SessList);
        QCOMPARE(w->DialStat->DayIndex, 0);
        QCOMPARE(w->DialStat->pos(), QPoint(40, 50));
    }

private:
    TChildForm* OpenLog(QString path = {})
    {
        if (path.isEmpty()) {
            path = Dir.filePath(QString("two%1.log").arg(Run));
            WriteBytes(path, TwoDays());
        }
        auto log = std::make_unique<TTestStyle>();
        log->Name = "test";
        log->Path = path.toStdString();
        Log = log.get();
        return AddAndOpen(std::move(log));
    }

    TTestStyle* Log = nullptr;
};

QTEST_MAIN(TestStatViews)
#include "tst_statviews.moc"
