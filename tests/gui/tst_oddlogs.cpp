// Logs no mailer meant to write: only NUL bytes, one endless line, a log emptied while the window
// reads it, a window closed while it reads. Each opens (or goes) cleanly, and what it shows is
// exactly what the file held.
#include <QFile>
#include <QScrollBar>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "frametest.h"
#include "guitestutil.h"
#include "log/genericstyles.h"
#include "teststyle.h"
#include "viewer/logviewer.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

QByteArray Shown(TChildForm* w)
{
    const std::string b = w->Viewer()->Bytes();
    return QByteArray(b.data(), qsizetype(b.size()));
}

// Numbered lines in the test style's layout, about 50 bytes each.
QByteArray Lines(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += QString("01/03 10:00:00 DIAL 2:5020/%1 padding padding\n").arg(i).toLatin1();
    return out;
}

}  // namespace

class TestOddLogs : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init()
    {
        StartFrame("s");
        Path = Dir.filePath(QString("log%1.log").arg(Run));
    }
    void cleanup() { StopFrame(); }

    void logOfOnlyNulBytesOpensAsOneLine()
    {
        const QByteArray nul(64 << 10, '\0');
        WriteBytes(Path, nul);
        TChildForm* w = Open(std::make_unique<TTestStyle>());
        QVERIFY(w);
        QCOMPARE(w->Viewer()->LineCount(), 1);
        QCOMPARE(Shown(w), nul);
        QCOMPARE(ReadBytes(Path), nul);
        w->Viewer()->repaint();
    }

    void oemKBytesCutAfterANulByteDropsExactlyTheCutBytes()
    {
        // With conversion the cut stops at a 0 byte too, which may lie inside a line: the window
        // must show exactly what the file keeps, not the whole line around the cut.
        F->Frame->AppSettings.OEMConvert = true;
        const QByteArray nul(64 << 10, '\0');
        WriteBytes(Path, nul);
        auto log = std::make_unique<TTestStyle>();
        log->CutSize = 1;
        TChildForm* w = Open(std::move(log));
        QVERIFY(w);
        const QByteArray kept(1023, '\0');  // after the first 0 byte of the last 1024
        QCOMPARE(ReadBytes(Path), kept);
        QCOMPARE(Shown(w), kept);
    }

    void logOfOneHugeLineOpensAndScrollsWithinItsDrawLimit()
    {
        QByteArray line(24 << 20, 'x');
        line[100] = ' ';
        WriteBytes(Path, line);
        TChildForm* w = Open(std::make_unique<TBinkLog>());
        QVERIFY(w);
        QCOMPARE(w->Viewer()->LineCount(), 1);
        QCOMPARE(qsizetype(w->Viewer()->Bytes().size()), line.size());
        QScrollBar* h = w->Viewer()->horizontalScrollBar();
        QVERIFY(h->maximum() > 0);
        QVERIFY(h->maximum() <= int(LogViewer::DrawLimit) + 1);
        h->setValue(h->maximum());
        w->Viewer()->repaint();
    }

    void logEmptiedWhileTheWindowReadsItShowsWhatWasRead()
    {
        const QByteArray text = Lines(160000);  // 8 MB: many pieces to read
        WriteBytes(Path, text);
        // Runs at the first chance the window gives events, while or soon after it reads.
        QTimer::singleShot(0, [this] { WriteBytes(Path, QByteArray()); });
        TChildForm* w = Open(std::make_unique<TTestStyle>());
        QVERIFY(w);
        // The bytes read are gone from the file: the window reads it again, as a rewritten log,
        // and shows what it holds.
        const QByteArray shown = Shown(w);
        QCOMPARE(shown, text.left(shown.size()));
        QCOMPARE(ReadBytes(Path), QByteArray());  // nothing written back
        const qint64 lines = shown.isEmpty() ? 0 : qint64(shown.count('\n')) + (shown.endsWith('\n') ? 0 : 1);
        QCOMPARE(w->Viewer()->LineCount(), lines);
    }

    void windowClosedWhileReadingGoesWithoutAMessage()
    {
        WriteBytes(Path, Lines(160000));
        QTimer::singleShot(0, [this] {
            for (TChildForm* c : F->Frame->findChildren<TChildForm*>())
                c->close();
        });
        auto log = std::make_unique<TTestStyle>();
        TLog* raw = log.get();
        Open(std::move(log));
        QTRY_VERIFY(F->Frame->findChildren<TChildForm*>().isEmpty());
        QVERIFY(!F->Frame->WindowOfLog(raw));
        for (const std::string& m : *F->Messages)
            QVERIFY2(m.find("Error reading log") == std::string::npos, m.c_str());
    }

    // The analysis gets the one line whole: the window opens analysed, with no session in it.
    void oneHugeLineIsAnalysedAsOneLine()
    {
        QByteArray line = "05/02 10:00:00 CONNECT IN ";
        line += QByteArray(24 << 20, 'x');
        WriteBytes(Path, line);
        TChildForm* w = Open(std::make_unique<TTestStyle>());
        QVERIFY(w);
        QVERIFY(w->StatusText(0).startsWith("Analysis complete, "));
        QCOMPARE(w->StatusText(1), QString("1 days, 0 sessions"));
        QVERIFY(F->Messages->empty());
        QCOMPARE(ReadBytes(Path), line);
        w->Viewer()->repaint();
    }

    // A line of megabytes with no date in it is asked about like any undated line, once.
    void oneHugeUndatedLineGivesOneQuestion()
    {
        WriteBytes(Path, QByteArray(24 << 20, 'x'));
        TChildForm* w = Open(std::make_unique<TTestStyle>());
        QVERIFY(w);
        QCOMPARE(F->Messages->size(), std::size_t(1));
        QVERIFY2(F->Messages->front().starts_with("Invalid date at line 1"), F->Messages->front().c_str());
        QVERIFY(w->StatusText(0).startsWith("Analysis complete, "));
    }

    // The mailer empties the log (a new log begun) between our read and our cut: the cut must
    // not write the old lines back into it, by KBytes or by days.
    void logEmptiedBeforeItsCutStaysEmpty_data()
    {
        QTest::addColumn<int>("cutMode");
        QTest::newRow("KBytes") << 0;
        QTest::newRow("days") << 1;
    }
    void logEmptiedBeforeItsCutStaysEmpty()
    {
        QFETCH(int, cutMode);
        QByteArray text;
        for (int day = 1; day <= 3; ++day)
            for (int i = 1; i <= 20000; ++i)
                text += QString("0%1/02 10:00:00 DIAL 2:5020/%2 padding padding\n").arg(day).arg(i).toLatin1();
        WriteBytes(Path, text);
        QTimer::singleShot(0, [this] { WriteBytes(Path, QByteArray()); });
        auto log = std::make_unique<TTestStyle>();
        log->CutMode = static_cast<std::uint8_t>(cutMode);
        log->CutSize = 1;
        TChildForm* w = Open(std::move(log));
        QVERIFY(w);
        QCOMPARE(ReadBytes(Path), QByteArray());
        QVERIFY(!QFile::exists(Path + ".cut"));
        const QByteArray shown = Shown(w);
        QVERIFY(text.contains(shown));
    }

    // Emptied while its window is open: the window closes as usual, and the log opens again,
    // empty, with its mark from the text that was shown, without a question.
    void logEmptiedWhileOpenOpensAgainEmpty()
    {
        WriteBytes(Path, Lines(2000));
        auto log = std::make_unique<TTestStyle>();
        log->AutoNew = true;
        TLog* raw = log.get();
        TChildForm* w = Open(std::move(log));
        QVERIFY(w);
        WriteBytes(Path, QByteArray());
        w->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(raw));
        QCOMPARE(raw->LastStr, std::string("01/03 10:00:00 DIAL "));
        F->Frame->OpenLog(raw);
        w = F->Frame->WindowOfLog(raw);
        QVERIFY(w);
        QCOMPARE(Shown(w), QByteArray());
        QVERIFY(w->StatusText(0).startsWith("Analysis complete, "));
        QCOMPARE(w->StatusText(1), QString("0 days, 0 sessions"));
        QVERIFY(F->Messages->empty());
        w->Viewer()->repaint();
        // The mailer writes again: the next opening finds the new lines.
        WriteBytes(Path, Lines(3));
        w->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(raw));
        F->Frame->OpenLog(raw);
        w = F->Frame->WindowOfLog(raw);
        QVERIFY(w);
        QCOMPARE(w->Viewer()->LineCount(), qint64(3));
    }

private:
    TChildForm* Open(std::unique_ptr<TLog> log)
    {
        log->Path = Path.toStdString();
        return AddAndOpen(std::move(log));
    }

    QString Path;
};

QTEST_MAIN(TestOddLogs)
#include "tst_oddlogs.moc"
