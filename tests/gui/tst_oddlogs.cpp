// Logs no mailer meant to write: only NUL bytes, one endless line, a log emptied while the window
// reads it, a window closed while it reads. Each opens (or goes) cleanly, and what it shows is
// exactly what the file held.
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
    const std::string_view b = w->Viewer()->Bytes();
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
        const QByteArray shown = Shown(w);
        QCOMPARE(shown, text.left(shown.size()));
        QCOMPARE(ReadBytes(Path), QByteArray());  // nothing written back
        QCOMPARE(w->Viewer()->LineCount(), qint64(shown.count('\n')) + (shown.endsWith('\n') ? 0 : 1));
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
