#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include "app/frameform.h"
#include "guitestutil.h"
#include "log/tlog.h"
#include "tmail/historyform.h"
#include "tmail/trafficform.h"
#include "tmailfixture.h"

using namespace tarvex;
using namespace tarvex::fixtures;

namespace {

TrafficRecordFields Node(std::uint16_t node, std::int32_t sent = 0)
{
    TrafficRecordFields r;
    r.Node = node;
    r.BytesSent = sent;
    return r;
}

QStringList Column(QTableView* grid, int column)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, column).data().toString();
    return out;
}

QStringList RowTexts(QTableView* grid, int row)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->index(row, c).data().toString();
    return out;
}

QStringList Headers(QTableView* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

}  // namespace

class TestTMailWindows : public QObject
{
    Q_OBJECT

    // The frame shown and its traffic window opened on line 1: the window, or null when none opened.
    static TTrafficForm* ShowTraffic(TFrameFixture& f)
    {
        f.Frame->show();
        f.Frame->ShowTraffic();
        return f.Frame->TrafficWindow();
    }

private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        ++Run;
        Ini = Dir.filePath(QString("settings%1.ini").arg(Run));
        Mailer = Dir.filePath(QString("mailer%1").arg(Run)).toStdString();
        WriteFileBytes(Mailer + "/t-mail.ctl", "Address 2:5020/1\r\n");
        TQtSettingsStore reg(Ini);
        reg.WriteString("Log1", "Name", "Station");
        reg.WriteInteger("Log1", "Style", lsTMail);
        reg.WriteString("Log1", "MailerPath", Mailer);
        reg.WriteInteger("General", "NumLogs", 1);
    }

    void trafficWindowShowsTheFileWithItsTotalRow()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", BuildTrafficFile(EdgeTrafficRecords()));
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->findChild<QAction*>("TrafficItem")->trigger();
        TTrafficForm* w = f.Frame->TrafficWindow();
        QVERIFY(w);
        QTRY_VERIFY(w->isVisible());
        QVERIFY(w->isWindow());
        QCOMPARE(w->windowTitle(), QString("Traffic"));
        QVERIFY(w->width() >= 562 && w->height() == 345);  // wider where the font needs it
        QTableView* grid = w->Grid();
        QCOMPARE(Headers(grid), (QStringList{"Address", "Sent", "Recd", "Out time", "In time", "Out sess", "In sess"}));
        QCOMPARE(grid->model()->rowCount(), 6);
        QCOMPARE(Column(grid, 0),
                 (QStringList{"2:5020/52.3", "65535:65535/65535.65535", "1:123/456", "2:5020/52", "2:5020/1", "Total"}));
        QCOMPARE(RowTexts(grid, 0), (QStringList{"2:5020/52.3", "12/1024K", "3/1K", "0:00:59", "1:02:05", "4/1", "2/0"}));
        QCOMPARE(RowTexts(grid, 1)[2], QString("65535/1M"));
        const int widths[] = {93, 75, 78, 67, 64, 64, 64};
        for (int c = 0; c < 7; ++c)
            QVERIFY(grid->columnWidth(c) >= widths[c]);
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), FontHeight(grid->font()) + 2);
        QCOMPARE(w->StatusText(), QString("t-mail.s01"));
        QVERIFY(f.Messages->empty());

        // A second Traffic command brings the same window forward.
        f.Frame->findChild<QAction*>("TrafficItem")->trigger();
        QCOMPARE(f.Frame->TrafficWindow(), w);
        QCOMPARE(f.Frame->findChildren<TTrafficForm*>().size(), 1);
        f.Frame->close();
    }

    void emptyAndTruncatedTrafficFiles()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", "");
        WriteFileBytes(Mailer + "/t-mail.s02", BuildTrafficFile({Node(1), Node(2)}) + std::string(52, 'x'));
        TFrameFixture f(Ini);
        TTrafficForm* w = ShowTraffic(f);
        QVERIFY(w);
        QCOMPARE(w->Grid()->model()->rowCount(), 1);
        QCOMPARE(RowTexts(w->Grid(), 0), (QStringList{"Total", "0/0", "0/0", "0:00:00", "0:00:00", "0/0", "0/0"}));
        w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "2", true; };
        w->SelectLine();
        QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/1", "2:5020/2", "Total"}));
        QCOMPARE(w->StatusText(),
                 QString("t-mail.s02: 52 bytes at the end of the file make no whole record; 2 records read"));
        f.Frame->close();
    }

    void sortByAddressThenUnsortedKeepsTheOrderUntilReload()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", BuildTrafficFile({Node(5, 10), Node(3, 30), Node(9, 20)}));
        TFrameFixture f(Ini);
        TTrafficForm* w = ShowTraffic(f);
        QVERIFY(w);
        const QList<QAction*> items = w->SortMenu()->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0]->text(), QString("&Unsorted"));
        QVERIFY(items[0]->isChecked());
        items[1]->trigger();
        QVERIFY(items[1]->isChecked() && !items[0]->isChecked());
        QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/3", "2:5020/5", "2:5020/9", "Total"}));
        items[0]->trigger();
        QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/3", "2:5020/5", "2:5020/9", "Total"}));
        items[3]->trigger();  // traffic, largest first
        QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/3", "2:5020/9", "2:5020/5", "Total"}));
        items[0]->trigger();
        // Loading the file again (Select line, 0 keeps the line) brings back the file's order.
        w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "0", true; };
        w->SelectLine();
        QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/5", "2:5020/3", "2:5020/9", "Total"}));
        f.Frame->close();
    }

    void selectLineTwoIsRememberedAndBadLinesChangeNothing()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", BuildTrafficFile({Node(1)}));
        WriteFileBytes(Mailer + "/T-MAIL.S02", BuildTrafficFile({Node(2), Node(22)}));
        {
            TFrameFixture f(Ini);
            TTrafficForm* w = ShowTraffic(f);
            QVERIFY(w);
            QString asked;
            w->InputQuery = [&asked](const QString& caption, const QString& prompt, QString& v) {
                asked = caption + "|" + prompt + "|" + v;
                v = "abc";
                return true;
            };
            w->SelectLine();
            QCOMPARE(asked, QString("Select line|Enter line number|1"));
            QCOMPARE(*f.Messages, std::vector<std::string>{"Invalid line number"});
            w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "7", true; };
            w->SelectLine();
            QCOMPARE(f.Messages->back(), std::string("Cannot open traffic file"));
            QCOMPARE(w->MailerLine, 1);
            QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/1", "Total"}));
            w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "2", true; };
            w->SelectLine();
            QCOMPARE(w->MailerLine, 2);
            QCOMPARE(Column(w->Grid(), 0), (QStringList{"2:5020/2", "2:5020/22", "Total"}));
            w->close();
            QTRY_VERIFY(!f.Frame->TrafficWindow());
            QCOMPARE(f.Frame->AppSettings.TrafficLine, 2);
            f.Frame->ShowTraffic();
            QVERIFY(f.Frame->TrafficWindow());
            QCOMPARE(f.Frame->TrafficWindow()->MailerLine, 2);
            QCOMPARE(f.Frame->TrafficWindow()->Grid()->model()->rowCount(), 3);
            f.Frame->close();
        }
        QSettings s(Ini, QSettings::IniFormat);
        QCOMPARE(s.value("General/TrafficLine").toString(), QString("2"));
        QVERIFY(s.value("TTrafficForm/NormPos").isValid());
    }

    void failedSetUpShowsNoWindow()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->ShowTraffic();  // no t-mail.s01
        QVERIFY(!f.Frame->TrafficWindow());
        QCOMPARE(*f.Messages, std::vector<std::string>{"Cannot open traffic file"});
        QTRY_COMPARE(f.Frame->findChildren<TTrafficForm*>().size(), 0);
        QFile::remove(QString::fromStdString(Mailer + "/t-mail.ctl"));
        f.Frame->ShowHistory();
        QVERIFY(!f.Frame->HistoryWindow());
        QCOMPARE(f.Messages->back(), "Cannot open file " + Mailer + "/t-mail.ctl for parsing");
        f.Frame->close();
    }

    void findANodeAndWriteTheReport()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", BuildTrafficFile({Node(5, 10), Node(3, 30), Node(9, 20)}));
        TFrameFixture f(Ini);
        TTrafficForm* w = ShowTraffic(f);
        QVERIFY(w);
        w->InputQuery = [](const QString& caption, const QString& prompt, QString& v) {
            if (caption != "Find address" || prompt != "Input address" || !v.isEmpty())
                return false;
            v = "2:5020/9";
            return true;
        };
        w->FindNode();
        QCOMPARE(w->Grid()->currentIndex().row(), 2);
        w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "2:5020/90", true; };
        w->FindNode();
        QCOMPARE(w->Grid()->currentIndex().row(), 2);  // no match: nothing moves

        w->SetSortMode(TTrafficSort::Traffic);
        const QString path = Dir.filePath(QString("report%1.tra").arg(Run));
        WriteBytes(path, "an old, longer report that must go entirely\r\n");
        QString offered;
        w->AskReportFile = [&](const QString& name) { return offered = name, path; };
        w->WriteReport();
        QCOMPARE(offered, QString("tarvex.tra"));
        const QByteArray report = ReadBytes(path);
        const QList<QByteArray> lines = report.split('\n');
        QCOMPARE(lines.size(), 12);  // eleven lines and nothing after the last CR LF
        QCOMPARE(lines[4], QByteArray("2:5020/3       0/30      0/0       0:00:00  0:00:00  0/0     0/0    \r"));
        QCOMPARE(lines[5].left(9), QByteArray("2:5020/9 "));
        QCOMPARE(lines[6].left(9), QByteArray("2:5020/5 "));
        QCOMPARE(lines[7], QByteArray(64, '-') + "\r");
        QCOMPARE(lines[8], QByteArray("Total          0/60      0/0       0:00:00  0:00:00  0/0     0/0    \r"));
        QCOMPARE(lines[9], QByteArray("\r"));
        QVERIFY(lines[10].startsWith(" * Traffic report created by Tarvex beta 4 at "));
        QVERIFY(lines[11].isEmpty());

        // A report that cannot be written says why and leaves nothing behind.
        QVERIFY(!w->WriteReportTo(Dir.filePath("no-such-dir/r.tra")));
        QVERIFY(!f.Messages->empty());
        f.Frame->close();
    }

    void columnWidthsAreStoredPerWindow()
    {
        WriteFileBytes(Mailer + "/t-mail.s01", BuildTrafficFile({Node(1)}));
        WriteFileBytes(Mailer + "/t-hist.$01", BuildHistoryFile({HistoryRecordFields{}}));
        int opened[2] = {};  // the widths two untouched columns opened with
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            f.Frame->ShowTraffic();
            f.Frame->ShowHistory();
            QVERIFY(f.Frame->TrafficWindow() && f.Frame->HistoryWindow());
            opened[0] = f.Frame->TrafficWindow()->Grid()->columnWidth(6);
            opened[1] = f.Frame->HistoryWindow()->Grid()->columnWidth(2);
            f.Frame->TrafficWindow()->Grid()->setColumnWidth(0, 120);
            f.Frame->HistoryWindow()->Grid()->setColumnWidth(5, 99);
            f.Frame->close();  // closes both windows first
        }
        QSettings s(Ini, QSettings::IniFormat);
        QCOMPARE(s.value("TTrafficFormTrafficGrid/Item0").toString(), QString("120"));
        QCOMPARE(s.value("TTrafficFormTrafficGrid/Item6").toInt(), opened[0]);
        QCOMPARE(s.value("THistoryFormHistoryGrid/Item5").toString(), QString("99"));
        QCOMPARE(s.value("THistoryFormHistoryGrid/Item2").toInt(), opened[1]);
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->ShowTraffic();
        QCOMPARE(f.Frame->TrafficWindow()->Grid()->columnWidth(0), 120);
        f.Frame->close();
    }

    void historyWindowRowsLinesAndEscape()
    {
        WriteFileBytes(Mailer + "/t-mail.ctl", "Sys_Path sys\\\r\n");
        WriteFileBytes(Mailer + "/sys/t-hist.$01", BuildHistoryFile(EdgeHistoryRecords()));
        WriteFileBytes(Mailer + "/sys/t-hist.$123", "");
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->findChild<QAction*>("HistoryItem")->trigger();
        THistoryForm* w = f.Frame->HistoryWindow();
        QVERIFY(w);
        QTRY_VERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Last sessions history"));
        QVERIFY(w->width() >= 435 && w->height() == 331);
        QTableView* grid = w->Grid();
        QCOMPARE(Headers(grid), (QStringList{"Status", "Address", "Start time", "Length", "Sent", "Recv"}));
        QCOMPARE(Column(grid, 0), (QStringList{"In OK", "Out", "Out OK", "In", "In OK", "Out"}));
        QCOMPARE(RowTexts(grid, 0), (QStringList{"In OK", "2:5020/52.3", "1:01:01", "1:02:05", "255/2K", "2/1M"}));
        const int widths[] = {64, 64, 65, 64, 64, 64};
        for (int c = 0; c < 6; ++c)
            QVERIFY(grid->columnWidth(c) >= widths[c]);

        w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "123", true; };
        w->SelectLine();
        QCOMPARE(w->MailerLine, 123);
        QCOMPARE(grid->model()->rowCount(), 0);  // only the header
        w->InputQuery = [](const QString&, const QString&, QString& v) { return v = "5", true; };
        w->SelectLine();
        QCOMPARE(f.Messages->back(), std::string("Cannot open history file"));
        QCOMPARE(w->MailerLine, 123);

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Escape);
        QTRY_VERIFY(!f.Frame->HistoryWindow());
        QCOMPARE(f.Frame->AppSettings.HistoryLine, 123);
        QCOMPARE(f.Frame->AppSettings.TrafficLine, 1);
        f.Frame->close();
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    std::string Mailer;
    int Run = 0;
};

QTEST_MAIN(TestTMailWindows)
#include "tst_tmailwindows.moc"
