#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "frametest.h"
#include "guitestutil.h"
#include "log/genericstyles.h"
#include "platform/filecut.h"
#include "teststyle.h"
#include "viewer/logviewer.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// n lines of 50 bytes (LF included), numbered from 1, in the test style's layout.
QByteArray FiftyByteLines(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i) {
        QByteArray line = QString("01/03 10:00:00 DIAL 2:5020/%1 ").arg(i, 4, 10, QChar('0')).toLatin1();
        line += QByteArray(49 - line.size(), '\x8e');  // an OEM letter: bytes above 127 stay as they are
        out += line + '\n';
    }
    return out;
}

// Generic Bink-style lines over the given dates of March, two lines each, with an empty line
// and leading empty lines.
QByteArray BinkDays(std::initializer_list<int> days)
{
    QByteArray out = "\n\n";
    for (int d : days) {
        out += QString("+ %1 Mar 10:00:00 BINK first\r\n").arg(d, 2, 10, QChar('0')).toLatin1();
        out += "\r\n";
        out += QString("- %1 Mar 11:00:00 BINK second\r\n").arg(d, 2, 10, QChar('0')).toLatin1();
    }
    return out;
}

}  // namespace

class TestLogCutWindow : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init()
    {
        StartFrame("s");
        Path = Dir.filePath(QString("log%1.log").arg(Run));
    }
    void cleanup() { StopFrame(); }

    void kbytesLimitAboveTheSizeLeavesTheFileUntouched()
    {
        const QByteArray text = FiftyByteLines(1200);  // 60000 bytes
        WriteBytes(Path, text);
        TChildForm* w = Open(MakeMailer(100, 0));
        QCOMPARE(ReadBytes(Path), text);
        QCOMPARE(w->Viewer()->LineCount(), 1200);
    }

    void kbytesCutThroughTheViewer()
    {
        const QByteArray text = FiftyByteLines(100);  // 5000 bytes
        WriteBytes(Path, text);
        TChildForm* w = Open(MakeMailer(1, 0));
        // 1024 bytes from the end is offset 3976, inside line 80; line 81 starts at 4000.
        QCOMPARE(ReadBytes(Path), text.mid(4000));
        QCOMPARE(w->Viewer()->LineCount(), 20);
        QCOMPARE(QByteArray(w->Viewer()->Bytes().data(), qsizetype(w->Viewer()->Bytes().size())), text.mid(4000));
        QCOMPARE(w->StatusText(1), QString("1 days, 0 sessions"));
    }

    void kbytesCutWithOemConversionOnTheRawBytes()
    {
        F->Frame->AppSettings.OEMConvert = true;
        QByteArray text = FiftyByteLines(100);
        text[3976 + 10] = '\0';  // a NUL before the first line feed ends the dropped part there
        WriteBytes(Path, text);
        TChildForm* w = Open(MakeMailer(1, 0));
        QCOMPARE(ReadBytes(Path), text.mid(3976 + 11));
        QCOMPARE(w->Viewer()->CodePage(), QString("IBM866"));
        // The first line is the rest of line 80 after the NUL; then line 81, shown in CP866.
    QCOMPARE(w->Viewer()->LineText(2), QString("01/03 10:00:00 DIAL 2:5020/0081 ") + QString(17, QChar(0x041E)));
    }

    void kbytesWithoutALineFeedInReachCutsNothing()
    {
        QByteArray text = "01/03 10:00:00 DIAL 2:5020/1\n" + QByteArray(3000, 'x') + "\n01/03 10:00:01 DIAL 2:5020/2\n";
        WriteBytes(Path, text);
        Open(MakeMailer(1, 0));
        QCOMPARE(ReadBytes(Path), text);
    }

    void daysCutKeepsTheLastDates()
    {
        const QByteArray text = BinkDays({1, 2, 3, 4, 5});
        WriteBytes(Path, text);
        TChildForm* w = Open(MakeBink(2, 1));
        QCOMPARE(ReadBytes(Path), BinkDays({4, 5}).mid(2));
        QCOMPARE(w->Viewer()->LineCount(), 6);
        QCOMPARE(w->Viewer()->LineText(1), QString("+ 04 Mar 10:00:00 BINK first"));
    }

    void daysCutWithFewerDatesDropsOnlyLeadingEmptyLines()
    {
        const QByteArray text = BinkDays({1, 2, 3});
        WriteBytes(Path, text);
        Open(MakeBink(10, 1));
        QCOMPARE(ReadBytes(Path), text.mid(2));
    }

    void linesAppendedDuringTheCutAreKept()
    {
        const QByteArray text = "01/03 10:00:00 DIAL 2:5020/1\n02/03 10:00:00 DIAL 2:5020/2\n"
                                "03/03 10:00:00 DIAL 2:5020/3\n03/03 10:00:01 DIAL 2:5020/4\n";
        WriteBytes(Path, text);
        const QByteArray more = "03/03 23:59:59 DIAL 2:5020/5 written by the mailer meanwhile\n";
        // Runs while the window lets events through between loading the text and cutting it.
        QTimer::singleShot(0, this, [this, more] { WriteBytes(Path, more, true); });
        TChildForm* w = Open(MakeMailer(1, 1));
        QCOMPARE(ReadBytes(Path), text.mid(58) + more);
        QCOMPARE(w->Viewer()->LineCount(), 2);  // the viewer shows what it read
        QVERIFY(!QFile::exists(QString::fromStdString(CutCopyPath(Path.toStdString()))));
    }

    void leftoverCutCopyStopsTheCutAndSaysSo()
    {
        const QByteArray text = BinkDays({1, 2, 3});
        WriteBytes(Path, text);
        WriteBytes(QString::fromStdString(CutCopyPath(Path.toStdString())), "kept\n");
        TChildForm* w = Open(MakeBink(1, 1));
        QCOMPARE(ReadBytes(Path), text);
        QCOMPARE(w->Viewer()->LineCount(), 11);
        QCOMPARE(F->Messages->size(), std::size_t(1));
        QVERIFY(F->Messages->front().find("did not finish") != std::string::npos);
    }

private:
    std::unique_ptr<TLog> MakeMailer(int size, int mode)
    {
        auto log = std::make_unique<TTestStyle>();
        log->CutSize = size;
        log->CutMode = static_cast<std::uint8_t>(mode);
        return log;
    }
    std::unique_ptr<TLog> MakeBink(int size, int mode)
    {
        auto log = std::make_unique<TBinkLog>();
        log->CutSize = size;
        log->CutMode = static_cast<std::uint8_t>(mode);
        return log;
    }
    TChildForm* Open(std::unique_ptr<TLog> log)
    {
        log->Path = Path.toStdString();
        return AddAndOpen(std::move(log));
    }

    QString Path;
};

QTEST_MAIN(TestLogCutWindow)
#include "tst_logcutwindow.moc"
