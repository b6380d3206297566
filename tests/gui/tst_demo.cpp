#include <QListWidget>
#include <QMdiArea>
#include <QTableView>
#include <QMenu>
#include <QtTest>

#include "app/childform.h"
#include "parsers/brakelog.h"
#include "setup/brakeoptionsform.h"
#include <QButtonGroup>
#include <QPushButton>
#include "app/frameform.h"
#include "demodesktop.h"
#include "log/mailerlog.h"
#include "tmail/historyform.h"
#include "tmail/trafficform.h"
#include "viewer/logviewer.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"

// The demo desktop: its own settings file with a log of every style, the T-Mail one opened.
// With TARVEX_SCREENSHOT set, the desktop is also saved there as a picture.
class TestDemo : public QObject
{
    Q_OBJECT
private slots:
    void demoDesktopOpensTheTMailLog()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        QCOMPARE(f.Frame->Logs.Count(), std::size_t(10));
        QCOMPARE(f.Frame->Logs[0].Style, std::uint8_t(tarvex::lsTMail));
        TChildForm* w = f.Frame->LogWindows().front();
        QCOMPARE(w->Log, &f.Frame->Logs[0]);
        QCOMPARE(w->Viewer()->LineCount(), 12000);
        QVERIFY(f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
        // The T-Mail style analysed the generated log: three weeks of a busy station.
        QVERIFY(w->StatusText(0).startsWith("Analysis complete, "));
        QVERIFY(w->StatusText(0).endsWith(" lines/sec"));
        QCOMPARE(w->StatusText(1), QString("22 days, 1402 sessions"));
        QCOMPARE(w->DayList()->count(), 22);
        QCOMPARE(w->DayList()->item(0)->text(), QString("01 Mar"));
        const auto* mailer = static_cast<const tarvex::TMailerLog*>(w->Log);
        const int day2 = mailer->Days[1].LineNo;
        w->GotoLine(day2 + 5);
        QTest::keyClick(w->Viewer(), Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(w->Viewer()->CaretLine(), day2);
        QTest::keyClick(w->Viewer(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(w->Viewer()->CaretLine(), day2);
        QTest::keyClick(w->Viewer(), Qt::Key_F5, Qt::AltModifier);
        QCOMPARE(w->Viewer()->CaretLine(), day2);
        w->GotoLine(40);
        QCOMPARE(w->Viewer()->CaretLine(), 40);
        QCOMPARE(w->Viewer()->FirstVisibleLine(), 40);
        const QString shot = qEnvironmentVariable("TARVEX_SCREENSHOT");
        if (!shot.isEmpty())
            QVERIFY(f.Frame->grab().save(shot));
        f.Frame->close();
    }

    // The demo's mailers write the DOS code page, so the demo turns OEM conversion on (a new
    // user's settings keep it off): the T-Mail session marker, byte 254, shows as a square.
    void demoReadsItsLogsInTheOEMCodePage()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        QVERIFY(f.Frame->AppSettings.OEMConvert);
        TAppSettings fresh;
        fresh.Load(tarvex::TMemorySettings());
        QVERIFY(!fresh.OEMConvert);
        const LogViewer* viewer = f.Frame->LogWindows().front()->Viewer();
        QCOMPARE(viewer->CodePage(), QString("IBM866"));
        bool marker = false;
        for (qint64 n = 1; n <= 20 && !marker; ++n)
            marker = viewer->LineText(n).contains(QChar(0x25A0));
        QVERIFY(marker);
        f.Frame->close();
    }

    // A log opened beside the restored one stands inside the main window, large enough for 80
    // columns and 20 rows of its text.
    void secondLogWindowOpensInsideTheFrame()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        tarvex::TLog* sfmail = &f.Frame->Logs[4];
        f.Frame->OpenLog(sfmail);
        QTRY_VERIFY(sfmail->Window != nullptr);
        auto* w = static_cast<TChildForm*>(sfmail->Window);
        const QRect area(QPoint(0, 0), f.Frame->mdiArea()->viewport()->size());
        QVERIFY2(area.contains(w->geometry()), qPrintable(QString("%1,%2 %3x%4 in %5x%6")
                                                              .arg(w->x()).arg(w->y()).arg(w->width())
                                                              .arg(w->height()).arg(area.width()).arg(area.height())));
        const LogViewer* viewer = w->Viewer();
        QTRY_VERIFY(viewer->VisibleLineCount() >= 20);
        QVERIFY((viewer->viewport()->width() - 2) / viewer->CharWidthPx() >= 80);
        f.Frame->close();
    }

    void demoTMailMenuOpensTrafficAndHistoryOfBothLines()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        f.Frame->findChild<QAction*>("TrafficItem")->trigger();
        f.Frame->findChild<QAction*>("HistoryItem")->trigger();
        QVERIFY(f.Frame->TrafficWindow() && f.Frame->HistoryWindow());
        QTRY_VERIFY(f.Frame->TrafficWindow()->isVisible() && f.Frame->HistoryWindow()->isVisible());
        QCOMPARE(f.Frame->TrafficWindow()->Grid()->model()->rowCount(), 61);  // 60 nodes and the total
        QCOMPARE(f.Frame->HistoryWindow()->Grid()->model()->rowCount(), 60);
        f.Frame->TrafficWindow()->InputQuery = [](const QString&, const QString&, QString& v) { return v = "2", true; };
        f.Frame->TrafficWindow()->SelectLine();
        QCOMPARE(f.Frame->TrafficWindow()->Grid()->model()->rowCount(), 26);
        QVERIFY(f.Messages->empty());
        f.Frame->close();
    }

    // The live station opens with its session list, following its log: what the demo's writer
    // appends comes in as sessions, every line read without a question.
    void liveStationFollowsTheDemoWriter()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        tarvex::TLog* live = &f.Frame->Logs[9];
        QCOMPARE(live->Name, std::string("Live station"));
        f.Frame->OpenLog(live);
        QTRY_VERIFY(live->Window != nullptr);
        auto* w = static_cast<TChildForm*>(live->Window);
        QTRY_VERIFY(w->SessList);
        QVERIFY(w->IsFollowing());
        const int rows = w->SessList->Model->rowCount();
        QVERIFY(rows > 100);
        TDemoLiveWriter writer(demo.Dir.filePath("demo"), nullptr);
        for (int i = 0; i < 8; ++i)
            QVERIFY(writer.WriteEvent());
        QTRY_VERIFY(w->SessList->Model->rowCount() > rows);
        QVERIFY(f.Messages->empty());
    }

    // The Brake!, Bink/+, FHMail, SF-Mail and Argus stations are analysed when opened, each from its
    // mailer directory.
    void demoMailerStationsAreAnalysed()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        const int styles[] = {tarvex::lsTMail,  tarvex::lsBrake, tarvex::lsBinkPlus,
                              tarvex::lsFHMail, tarvex::lsSFMail, tarvex::lsArgus};
        for (std::size_t i = 1; i < std::size(styles); ++i) {
            tarvex::TLog* log = &f.Frame->Logs[i];
            QCOMPARE(int(log->Style), styles[i]);
            f.Frame->OpenLog(log);
            QTRY_VERIFY(log->Window != nullptr);
            auto* w = static_cast<TChildForm*>(log->Window);
            QTRY_VERIFY(w->StatusText(0).startsWith("Analysis complete, "));
            const auto* mailer = static_cast<const tarvex::TMailerLog*>(log);
            QVERIFY(mailer->SessCount > 300);
            QVERIFY(mailer->DayCount >= 10);
            QCOMPARE(w->DayList()->count(), mailer->DayCount);
            QVERIFY(!mailer->Freqs.empty());
        }
        QVERIFY(f.Messages->empty());

        // The Brake! log's options from its window's menu: the other version reads the
        // older transfer lines as nothing, so no request is left.
        auto* brake = static_cast<tarvex::TBrakeLog*>(&f.Frame->Logs[1]);
        auto* w = static_cast<TChildForm*>(brake->Window);
        QAction* options = w->findChild<QAction*>("LogOptionsAction");
        QVERIFY(options && options->isVisible());
        QVERIFY(!static_cast<TChildForm*>(f.Frame->Logs[2].Window)->findChild<QAction*>("LogOptionsAction")->isVisible());
        WhenDialogShows<TBrakeOptionsForm>([](TBrakeOptionsForm* form) {
            form->Items->button(1)->click();
            form->BtnOK->click();
        });
        options->trigger();
        QCOMPARE(brake->BrkVersion, 703);
        QTRY_COMPARE(w->StatusText(0), QString("Analysis complete"));
        QVERIFY(brake->Freqs.empty());
        f.Frame->close();
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
