#include <QImage>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "base/datetime.h"
#include "guitestutil.h"
#include "log/genericstyles.h"
#include "viewer/logviewer.h"

using namespace tarvex;

// A line repainted after the caret moved keeps the colours it was first drawn with.
class TestLineColours : public QObject
{
    Q_OBJECT
private slots:
    void errorLineStaysInItsColourAfterTheCaretMoves()
    {
        SetProgramStartDate(EncodeDate(2026, 3, 20));
        TFrameFixture f(Dir.filePath("s.ini"));
        f.Frame->show();
        const QString path = Dir.filePath("bink.log");
        WriteBytes(path, "+ 14 Mar 18:46:59 BINK begin, BinkleyTerm/Win32 Ver. 2.60\n"
                         "! 14 Mar 18:47:06 BINK SYS00000006: GetCommState()\n"
                         "+ 15 Mar 09:00:01 BINK begin, BinkleyTerm/Win32 Ver. 2.60\n");
        auto log = std::make_unique<TBinkLog>();
        log->Name = "bink";
        log->Path = path.toStdString();
        TLog* raw = log.get();
        f.Frame->AddLogMenuItem(std::move(log));
        f.Frame->OpenLog(raw);
        TChildForm* w = f.Frame->WindowOfLog(raw);
        QVERIFY(w);
        LogViewer* v = w->Viewer();
        QVERIFY(v->Highlight());
        const QColor errors = v->Colors()[LogViewer::ClrErrors];
        const QColor normal = v->Colors()[LogViewer::ClrNormal];
        QVERIFY(errors != normal);

        // What line 2's band of the viewer shows: pixels in the Errors and in the Normal colour.
        auto line2 = [&] {
            const QImage img = v->viewport()->grab().toImage();
            const int h = v->LineHeightPx();
            QPair<int, int> counts{0, 0};
            for (int y = h; y < 2 * h && y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb px = img.pixel(x, y);
                    counts.first += px == errors.rgb();
                    counts.second += px == normal.rgb();
                }
            return counts;
        };
        w->GotoLine(1);
        QTRY_VERIFY(v->isVisible());
        const auto before = line2();
        QVERIFY(before.first > 0);
        QCOMPARE(before.second, 0);

        QTest::keyClick(v, Qt::Key_Down, Qt::AltModifier);
        QTRY_COMPARE(v->CaretLine(), 3);
        const auto after = line2();
        QVERIFY(after.first > 0);
        QCOMPARE(after.second, 0);
        QCOMPARE(after.first, before.first);
    }

private:
    QTemporaryDir Dir;
};

QTEST_MAIN(TestLineColours)
#include "tst_linecolours.moc"
