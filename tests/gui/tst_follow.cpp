// A log window following its log while a mailer appends to it, cuts it and removes it.
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "frametest.h"
#include "guitestutil.h"
#include "teststyle.h"
#include "viewer/logviewer.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// Day d of the test style with one outgoing session, and an empty line after it.
QByteArray Day(int d, int node = 1)
{
    const QString day = QString("%1/03 ").arg(d, 2, 10, QChar('0'));
    const QString addr = "2:5020/" + QString::number(node);
    return (day + "10:00:00 DIAL " + addr + "\n" + day + "10:00:05 CONNECT OUT\n" + day + "10:00:06 ADDR " + addr +
            "\n" + day + "10:01:00 END 100 200\n\n")
        .toLatin1();
}

}  // namespace

class TestFollow : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init() { StartFrame("f"); }
    void cleanup() { StopFrame(); }

    // New sessions reach the open session list as inserted rows; the view scrolls with the new
    // lines only while the caret is on the last line; the auto-new mark stays where the DLC
    // update of the opening left it.
    void appendedSessionsAreInsertedWhereTheCaretAllows()
    {
        const QString path = Dir.filePath("live.log");
        WriteBytes(path, Day(1) + Day(2) + Day(3));
        auto log = std::make_unique<TTestStyle>();
        log->Name = "live";
        log->Path = path.toStdString();
        TTestStyle* raw = log.get();
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w && w->IsFollowing());
        QVERIFY(w->FollowBtn->isChecked());
        QCOMPARE(w->StatusText(2), QString("Following"));
        w->SessListBtn->click();
        TSessListModel* model = w->SessList->Model;
        QCOMPARE(model->rowCount(), 3);
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);

        LogViewer* v = w->Viewer();
        w->GotoLine(static_cast<int>(v->LineCount()));
        WriteBytes(path, Day(4, 4) + Day(4, 5), true);
        QTRY_COMPARE(model->rowCount(), 5);
        QVERIFY(!inserted.isEmpty());
        QCOMPARE(reset.count(), 0);
        QCOMPARE(raw->Session(4).StartLine, 22);
        QCOMPARE(w->StatusText(1), QString("4 days, 5 sessions"));
        QCOMPARE(w->DayList()->count(), 4);
        QCOMPARE(v->CaretLine(), v->LineCount());
        QVERIFY(v->FirstVisibleLine() + v->VisibleLineCount() > v->LineCount());

        // Elsewhere the caret and the view stay; a line without its end shows, uncounted.
        w->GotoLine(2);
        const qint64 top = v->FirstVisibleLine();
        WriteBytes(path, Day(5, 6) + "05/03 11:00:00 DIAL 2:50", true);
        QTRY_COMPARE(model->rowCount(), 6);
        QCOMPARE(v->LineBytes(v->LineCount()), std::string_view("05/03 11:00:00 DIAL 2:50"));
        QCOMPARE(v->CaretLine(), 2);
        QCOMPARE(v->FirstVisibleLine(), top);
        QCOMPARE(reset.count(), 0);

        // Off, nothing comes; on again, what came meanwhile.
        w->FollowBtn->click();
        QVERIFY(!w->IsFollowing() && raw->Follow == std::optional<bool>(false));
        WriteBytes(path, "20\n" + Day(5, 7), true);
        QTest::qWait(1300);
        QCOMPARE(model->rowCount(), 6);
        w->FollowBtn->click();
        QTRY_COMPARE(model->rowCount(), 7);

        w->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(raw));
        QCOMPARE(raw->LastStr, std::string("03/03 10:01:00 END 1"));
    }

    // A log cut and written anew is read again from its start, from the file as on opening; a
    // removed one stops the following.
    // A log opened with Follow off was analysed in one go: turning it on analyses it in steps.
    void rewriteReadsAgainAndRemovalStops()
    {
        const QString path = Dir.filePath("cut.log");
        WriteBytes(path, Day(1) + Day(2) + Day(3));
        auto log = std::make_unique<TTestStyle>();
        log->Name = "cut";
        log->Path = path.toStdString();
        log->Follow = false;
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w && !w->IsFollowing() && !w->FollowBtn->isChecked());
        w->SessListBtn->click();
        QCOMPARE(w->SessList->Model->rowCount(), 3);
        w->findChild<QAction*>("FollowAction")->trigger();
        QVERIFY(w->IsFollowing());

        // Ending inside a line, the new text is read as on opening, that line too; its end has
        // it analysed again, in steps.
        const QByteArray cut = Day(9, 9) + "10/03 10:00:00 DI";
        WriteBytes(path, cut);
        QTRY_COMPARE(w->StatusText(0), QString("Log file written anew: read again"));
        QCOMPARE(w->Viewer()->Bytes(), std::string_view(cut.constData()));
        QVERIFY(w->Viewer()->Model().OnDemand());  // read from the file, not held whole
        QCOMPARE(w->StatusText(1), QString("2 days, 1 sessions"));
        QCOMPARE(w->SessList->Model->rowCount(), 1);
        QVERIFY(w->IsFollowing());
        WriteBytes(path, "AL 2:5020/3\n" + Day(10, 3).mid(Day(10, 3).indexOf('\n') + 1), true);
        QTRY_COMPARE(w->SessList->Model->rowCount(), 2);
        QCOMPARE(w->StatusText(1), QString("2 days, 2 sessions"));

        QVERIFY(QFile::remove(path));
        QTRY_COMPARE(w->StatusText(0), QString("Log file removed: following stopped"));
        QVERIFY(!w->IsFollowing() && !w->FollowBtn->isChecked());
        QCOMPARE(w->StatusText(2), QString());
    }
};

QTEST_MAIN(TestFollow)
#include "tst_follow.moc"
