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
#include "views/dialstatform.h"
#include "views/sesslistform.h"

// The window's report and `tarvex-cli report sessions --settings --log` of the same log, with
// the columns and templates the window stored: the same bytes. The command line reads the
// settings file the GUI wrote, without Qt.
class TestReportParity : public QObject
{
    Q_OBJECT
    const QString golden = TARVEX_GOLDEN_DIR "/tmail_basic";
    const std::string name = "Golden station/1";

    // The golden T-Mail log copied to `log` and configured as the only log of `ini`.
    bool ConfigureGoldenLog(const QString& log, const QString& ini)
    {
        if (!QFile::copy(golden + "/t-mail.log", log))
            return false;
        TQtSettingsStore reg(ini);
        reg.WriteInteger("General", "NumLogs", 1);
        reg.WriteString("Log1", "Name", name);
        reg.WriteString("Log1", "Path", log.toStdString());
        reg.WriteInteger("Log1", "Style", 1);
        reg.WriteString("Log1", "MailerPath", (golden + "/mailer").toStdString());
        reg.WriteInteger("Log1", "CutSize", 0);
        return true;
    }

private slots:
    void windowAndCommandLineWriteTheSameReport()
    {
        QLocale::setDefault(QLocale::c());
        tarvex::SetProgramStartDate(tarvex::EncodeDate(2026, 3, 1));
        QTemporaryDir dir;
        const QString log = dir.filePath("t-mail.log");
        const QString ini = dir.filePath("tarvex.ini");
        QVERIFY(ConfigureGoldenLog(log, ini));
        const QString head = dir.filePath("head, one.tpl");
        WriteBytes(head, "@program: @total sessions\r\n");

        const QString fromWindow = dir.filePath("window.rep");
        {
            TFrameFixture f(ini);
            f.Frame->show();
            f.Frame->OpenLog(&f.Frame->Logs[0]);
            TChildForm* w = f.Frame->WindowOfLog(&f.Frame->Logs[0]);
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
            list->RepFooter = dir.filePath("missing.tpl").toStdString();
            list->AskReportFile = [fromWindow] { return fromWindow; };
            list->ReportBtn->click();
            QCOMPARE(f.Messages->back(), std::string("Cannot open template file"));
            list->close();
            f.Frame->close();
        }

        const QString fromCli = dir.filePath("cli.rep");
        QProcess cli;
        cli.start(TARVEX_CLI_PATH, {"report", "sessions", "--style", "T-mail", "--mailer-path", golden + "/mailer",
                                    "--year", "2026", "--settings", ini, "--log", QString::fromStdString(name),
                                    "--output", fromCli, log});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(cli.readAllStandardError().contains("Cannot open template file"));
        const QByteArray a = ReadBytes(fromWindow);
        QVERIFY(a.startsWith("Tarvex beta 4: 16 sessions\r\n\xDA"));
        QVERIFY(a.contains("\xB3Red Square B\xB3"));
        QCOMPARE(ReadBytes(fromCli), a);
    }

    // The same for the dial statistics of the last day, the command line's default day.
    void dialStatisticsOfWindowAndCommandLine()
    {
        QLocale::setDefault(QLocale::c());
        tarvex::SetProgramStartDate(tarvex::EncodeDate(2026, 3, 1));
        QTemporaryDir dir;
        const QString log = dir.filePath("t-mail.log");
        const QString ini = dir.filePath("tarvex.ini");
        QVERIFY(ConfigureGoldenLog(log, ini));
        const QString head = dir.filePath("head.tpl");
        WriteBytes(head, "@total nodes\r\n");

        const QString fromWindow = dir.filePath("window.rep");
        {
            TFrameFixture f(ini);
            f.Frame->show();
            f.Frame->OpenLog(&f.Frame->Logs[0]);
            TChildForm* w = f.Frame->WindowOfLog(&f.Frame->Logs[0]);
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

        const QString fromCli = dir.filePath("cli.rep");
        QProcess cli;
        cli.start(TARVEX_CLI_PATH, {"report", "dialstat", "--style", "T-mail", "--mailer-path", golden + "/mailer",
                                    "--year", "2026", "--settings", ini, "--log", QString::fromStdString(name),
                                    "--output", fromCli, log});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray a = ReadBytes(fromWindow);
        QVERIFY(a.startsWith("5 nodes\r\n\xDA"));
        QVERIFY(a.contains("\xB3" "2:5020/400 \xB3" "0          \xB3" "1          \xB3"));
        QCOMPARE(ReadBytes(fromCli), a);
    }
};

QTEST_MAIN(TestReportParity)
#include "tst_reportparity.moc"
