#include <QLocale>
#include <QProcess>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "app/qtsettingsstore.h"
#include "guitestutil.h"
#include "base/datetime.h"
#include "viewer/logviewer.h"
#include "log/mailerlog.h"
#include "views/daychart.h"
#include "views/dialstatform.h"
#include "views/nodehistoryform.h"
#include "views/nodehistorymodel.h"
#include "views/overviewform.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"

// The window's report and `tarvex-cli report sessions --settings --log` of the same log, with
// the columns and templates the window stored: the same bytes. The command line reads the
// settings file the GUI wrote, without Qt.
class TestReportParity : public QObject
{
    Q_OBJECT
    const QString golden = TARVEX_GOLDEN_DIR "/tmail_basic";
    const std::string name = "Golden station/1";

    // A test's scratch folder: the golden log copied into it, the only log of its settings file.
    struct TScratch
    {
        QTemporaryDir Dir;
        QString Log = Dir.filePath("t-mail.log");
        QString Ini = Dir.filePath("tarvex.ini");
    };

    // Both sides write dates the same way whatever the user's language, on a fixed day.
    bool ConfigureGoldenLog(const TScratch& s)
    {
        QLocale::setDefault(QLocale::c());
        tarvex::SetProgramStartDate(tarvex::EncodeDate(2026, 3, 1));
        if (!QFile::copy(golden + "/t-mail.log", s.Log))
            return false;
        TQtSettingsStore reg(s.Ini);
        reg.WriteInteger("General", "NumLogs", 1);
        reg.WriteString("Log1", "Name", name);
        reg.WriteString("Log1", "Path", s.Log.toStdString());
        reg.WriteInteger("Log1", "Style", 1);
        reg.WriteString("Log1", "MailerPath", (golden + "/mailer").toStdString());
        reg.WriteInteger("Log1", "CutSize", 0);
        return true;
    }

    // The window of the golden log, opened in a shown frame; null when none opened.
    static TChildForm* OpenGoldenLog(TFrameFixture& f)
    {
        f.Frame->show();
        f.Frame->OpenLog(&f.Frame->Logs[0]);
        return f.Frame->WindowOfLog(&f.Frame->Logs[0]);
    }

    // `tarvex-cli report KIND` of the golden log with the stored columns of the scratch
    // settings, written to `output`: its exit code (-1 when it did not finish) and stderr.
    int RunCliReport(const QString& kind, const TScratch& s, const QString& output, QByteArray* errText = nullptr)
    {
        QProcess cli;
        cli.start(TARVEX_CLI_PATH, {"report", kind, "--style", "T-mail", "--mailer-path", golden + "/mailer",
                                    "--year", "2026", "--settings", s.Ini, "--log", QString::fromStdString(name),
                                    "--output", output, s.Log});
        if (!cli.waitForFinished(60000))
            return -1;
        if (errText)
            *errText = cli.readAllStandardError();
        return cli.exitCode();
    }

private slots:
    void windowAndCommandLineWriteTheSameReport()
    {
        TScratch s;
        QVERIFY(ConfigureGoldenLog(s));
        const QString head = s.Dir.filePath("head, one.tpl");
        WriteBytes(head, "@program: @total sessions\r\n");

        const QString fromWindow = s.Dir.filePath("window.rep");
        {
            TFrameFixture f(s.Ini);
            TChildForm* w = OpenGoldenLog(f);
            QVERIFY(w);
            w->SessListBtn->click();
            TSessListForm* list = w->SessList;
            QVERIFY(list);
            list->Columns.Items[0]->ShowFile = true;  // Time
            list->Columns.Items[0]->FileWidth = 14;
            list->Columns.Items[2]->ShowFile = true;  // System, cut to 12
            list->Columns.Items[2]->FileWidth = 12;
            list->Columns.Items[2]->Heading = "Станция";
            list->Columns.CountVisible();
            list->RepHeader = head.toStdString();
            list->RepFooter = s.Dir.filePath("missing.tpl").toStdString();
            list->AskReportFile = [fromWindow] { return fromWindow; };
            list->ReportBtn->click();
            QCOMPARE(f.Messages->back(), std::string("Cannot open template file"));
            list->close();
            f.Frame->close();
        }

        const QString fromCli = s.Dir.filePath("cli.rep");
        QByteArray cliErr;
        QCOMPARE(RunCliReport("sessions", s, fromCli, &cliErr), 0);
        QVERIFY(cliErr.contains("Cannot open template file"));
        const QByteArray a = ReadBytes(fromWindow);
        QVERIFY(a.startsWith("Tarvex beta 4: 16 sessions\r\n\xDA"));
        QVERIFY(a.contains("\xB3Red Square B\xB3"));
        QCOMPARE(ReadBytes(fromCli), a);
    }

    // The same for the dial statistics of the last day, the command line's default day.
    void dialStatisticsOfWindowAndCommandLine()
    {
        TScratch s;
        QVERIFY(ConfigureGoldenLog(s));
        const QString head = s.Dir.filePath("head.tpl");
        WriteBytes(head, "@total nodes\r\n");

        const QString fromWindow = s.Dir.filePath("window.rep");
        {
            TFrameFixture f(s.Ini);
            TChildForm* w = OpenGoldenLog(f);
            QVERIFY(w);
            w->GotoLine(static_cast<std::int32_t>(w->Viewer()->LineCount()));
            w->BtnDialStat->click();
            TDialStatForm* ds = w->DialStat;
            QVERIFY(ds);
            QCOMPARE(ds->DayIndex, 2);
            for (auto& c : ds->Columns.Items) {
                c->ShowFile = true;
                c->FileWidth = 11;
            }
            ds->Columns.CountVisible();
            ds->RepHeader = head.toStdString();
            ds->AskReportFile = [fromWindow] { return fromWindow; };
            ds->ReportBtn->click();
            ds->close();
            f.Frame->close();
        }

        const QString fromCli = s.Dir.filePath("cli.rep");
        QCOMPARE(RunCliReport("dialstat", s, fromCli), 0);
        const QByteArray a = ReadBytes(fromWindow);
        QVERIFY(a.startsWith("5 nodes\r\n\xDA"));
        QVERIFY(a.contains("\xB3" "2:5020/400 \xB3" "0          \xB3" "1          \xB3"));
        QCOMPARE(ReadBytes(fromCli), a);
    }

    // The history of 2:5020/200, opened from the session list's row of its session: a click on a
    // day's bar takes the log window to that day, and the window's report, with its default
    // columns, is the command's byte for byte. The overview goes to a day alike.
    void nodeHistoryFromTheSessionListAndItsReport()
    {
        TScratch s;
        QVERIFY(ConfigureGoldenLog(s));
        const QString head = s.Dir.filePath("head.tpl");
        WriteBytes(head, "@total rows\r\n");

        const QString fromWindow = s.Dir.filePath("window.rep");
        {
            // The rows show years: both sides read the log's dates in the year --year gives.
            tarvex::SetYearlessYear(2026);
            TFrameFixture f(s.Ini);
            TChildForm* w = OpenGoldenLog(f);
            tarvex::SetYearlessYear(0);
            QVERIFY(w);
            w->SessListBtn->click();
            TSessListForm* list = w->SessList;
            QVERIFY(list);
            list->Grid->setCurrentIndex(list->Model->index(1, 0));  // Out 2:5020/200
            auto* action = list->Grid->findChild<QAction*>("NodeHistoryAction");
            QVERIFY(action);
            action->trigger();
            TNodeHistoryForm* history = w->NodeHist;
            QVERIFY(history);
            QCOMPARE(history->Addr.ToString(), std::string("2:5020/200"));
            QCOMPARE(history->Model->rowCount(), 4);  // three days and the total
            QCOMPARE(history->Model->CellText(3, 0), QString("Total"));
            QCOMPARE(history->Chart->Bars().size(), std::size_t{3});

            const std::int32_t day1 = w->ViewedLog()->Day(1).LineNo;
            QTest::mouseClick(history->Chart, Qt::LeftButton, {},
                              QPoint(history->Chart->BarCenter(1), history->Chart->height() / 2));
            QCOMPARE(w->CurDay, 1);
            QCOMPARE(w->Viewer()->CaretLine(), static_cast<qint64>(day1));
            QCOMPARE(history->Grid->currentIndex().row(), 1);

            history->RepHeader = head.toStdString();
            history->AskReportFile = [fromWindow] { return fromWindow; };
            history->ReportBtn->click();
            history->close();

            w->ShowOverview();
            TOverviewForm* overview = w->Overview;
            QVERIFY(overview);
            QCOMPARE(overview->Chart->Bars().size(), std::size_t{3});
            QCOMPARE(overview->Chart->Bars()[0].Human, 1);
            QTest::mouseClick(overview->Chart, Qt::LeftButton, {},
                              QPoint(overview->Chart->BarCenter(2), overview->Chart->height() / 2));
            QCOMPARE(w->CurDay, 2);
            f.Frame->close();
        }

        const QString fromCli = s.Dir.filePath("cli.rep");
        QProcess cli;
        cli.start(TARVEX_CLI_PATH, {"report", "node", "--addr", "2:5020/200", "--style", "T-mail", "--mailer-path",
                                    golden + "/mailer", "--year", "2026", "--settings", s.Ini, "--log",
                                    QString::fromStdString(name), "--output", fromCli, s.Log});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray a = ReadBytes(fromWindow);
        QVERIFY(a.startsWith("4 rows\r\n\xDA"));
        QVERIFY(a.contains("\xB3Total    \xB3" "12   \xB3" "6    \xB3"));
        QCOMPARE(ReadBytes(fromCli), a);
    }
};

QTEST_MAIN(TestReportParity)
#include "tst_reportparity.moc"
