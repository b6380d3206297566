#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "frametest.h"
#include "guitestutil.h"
#include "log/genericstyles.h"
#include "teststyle.h"
#include "viewer/logviewer.h"
#include "views/sesslistform.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// Three days of the test style, one outgoing session each; days start at lines 1, 6 and 11.
QByteArray ThreeDays()
{
    QByteArray out;
    for (int d = 1; d <= 3; ++d) {
        const QString day = QString("%1/03 ").arg(d, 2, 10, QChar('0'));
        out += (day + "10:00:00 DIAL 2:5020/" + QString::number(d) + "\n").toLatin1();
        out += (day + "10:00:05 CONNECT OUT\n").toLatin1();
        out += (day + "10:00:06 ADDR 2:5020/" + QString::number(d) + "\n").toLatin1();
        out += (day + "10:01:00 END 100 200\n").toLatin1();
        out += "\n";
    }
    return out;
}

// Closes its window from inside the pass, at a given line, the way a user's click would
// arrive: as an event handled by the next keep-alive.
class TClosingStyle : public TTestStyle
{
public:
    void ParseLine(std::string_view line) override
    {
        if (LineNo == CloseAt && Window)
            QTimer::singleShot(0, static_cast<TChildForm*>(Window), &QWidget::close);
        TTestStyle::ParseLine(line);
    }
    int CloseAt = 1000;
};

// Quits the whole program from inside the pass, as Alt+X pressed meanwhile would.
class TQuittingStyle : public TTestStyle
{
public:
    void ParseLine(std::string_view line) override
    {
        if (LineNo == 1000 && Frame)
            QTimer::singleShot(0, Frame, &QWidget::close);
        TTestStyle::ParseLine(line);
    }
    QWidget* Frame = nullptr;
};

}  // namespace

class TestChildForm : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init() { StartFrame("s"); }
    void cleanup() { StopFrame(); }

    void mailerLogOpened_StatusDayListAndNavigationKeys()
    {
        const QString path = Dir.filePath("three.log");
        WriteBytes(path, ThreeDays());
        auto log = std::make_unique<TTestStyle>();
        log->Name = "test";
        log->Path = path.toStdString();
        TTestStyle* raw = log.get();
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w);
        QCOMPARE(raw->Window, static_cast<ILogWindow*>(w));
        QCOMPARE(w->StatusText(0), QString("Analysis complete, 15 lines/sec"));
        QCOMPARE(w->StatusText(1), QString("3 days, 3 sessions"));
        QVERIFY(!w->Progress()->isVisible());
        QCOMPARE(w->DayList()->count(), 3);
        QCOMPARE(w->DayList()->item(0)->text(), QString("01 Mar"));
        QCOMPARE(w->DayList()->item(2)->text(), QString("03 Mar"));
        QVERIFY(w->PrevSessBtn->isEnabled() && w->NextSessBtn->isEnabled() && w->BtnDayList->isEnabled());
        QVERIFY(w->SessListBtn->isEnabled() && w->FreqListBtn->isEnabled() && w->TimelineBtn->isEnabled() &&
                w->BtnDialStat->isEnabled());
        QVERIFY(w->HiliteBtn->isEnabled() && w->HiliteBtn->isChecked());
        QVERIFY(w->Viewer()->Highlight());

        // The keys and buttons reach the day and session steps (where each goes is the core's
        // navigation, tested there), and the position follows.
        LogViewer* v = w->Viewer();
        auto caret = [v] { return v->CaretLine(); };
        w->GotoLine(8);
        QCOMPARE(w->CurDay, 1);
        QCOMPARE(w->StatusText(0), QString("10:00:05 Out 2:5020/2"));
        QTest::keyClick(v, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(caret(), 6);
        QTest::keyClick(v, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(caret(), 11);
        QCOMPARE(w->CurDay, 2);
        QTest::keyClick(v, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(caret(), 7);
        QTest::keyClick(v, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(caret(), 12);
        w->PrevDayBtn->click();
        QCOMPARE(caret(), 11);
        w->PrevSessBtn->click();
        QCOMPARE(caret(), 7);
        w->NextSessBtn->click();
        QCOMPARE(caret(), 12);
        w->GotoLine(8);
        w->NextDayBtn->click();
        QCOMPARE(caret(), 11);
        // Without Alt an arrow is the viewer's own, and Alt makes F5 no view key.
        w->GotoLine(8);
        QTest::keyClick(v, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(caret(), 8);
        QTest::keyClick(v, Qt::Key_F5, Qt::AltModifier);
        QVERIFY(!w->SessList);

        // The day list goes to the chosen day and hides.
        w->BtnDayList->click();
        QVERIFY(w->DayList()->isVisible());
        QCOMPARE(w->DayList()->currentRow(), 1);
        w->DayList()->setCurrentRow(2);
        emit w->DayList()->itemClicked(w->DayList()->item(2));
        QVERIFY(!w->DayList()->isVisible());
        QCOMPARE(caret(), 11);

        // Highlight toggles and is kept in the log.
        w->HiliteBtn->click();
        QVERIFY(!raw->Highlight);
        QVERIFY(!v->Highlight());

        QTest::keyClick(v, Qt::Key_Escape);
        QTRY_VERIFY(!F->Frame->WindowOfLog(raw));
        QCOMPARE(raw->Window, nullptr);
        QCOMPARE(raw->LastStr, std::string("03/03 10:01:00 END 1"));  // the second-to-last line is empty
    }

    void shiftF10OpensTheMenuThatShowsTheViewKeys()
    {
        const QString path = Dir.filePath("three.log");
        WriteBytes(path, ThreeDays());
        auto log = std::make_unique<TTestStyle>();
        log->Name = "test";
        log->Path = path.toStdString();
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w);
        auto* menu = w->findChild<QMenu*>("PopupMenu");
        QVERIFY(menu && !menu->isVisible());
        QTest::keyClick(w->Viewer(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        QStringList keys;
        for (const QAction* a : menu->actions())
            if (!a->shortcut().isEmpty() && a->isShortcutVisibleInContextMenu())
                keys << a->text() + " " + a->shortcut().toString();
        QCOMPARE(keys, (QStringList{"&Session list F5", "&Freq list F6", "&Timeline F7", "&Dial statistics F8",
                                    "&Node history F9", "Log o&verview F10"}));
        menu->hide();
    }

    void closingDuringTheAnalysisEndsItSilently()
    {
        const QString path = Dir.filePath("long.log");
        QByteArray text;
        for (int i = 0; i < 200000; ++i)
            text += QString("%1/03 10:00:00 DIAL 2:5020/%2\n").arg(1 + i / 20000, 2, 10, QChar('0')).arg(i % 97).toLatin1();
        WriteBytes(path, text);
        auto log = std::make_unique<TClosingStyle>();
        log->Path = path.toStdString();
        TClosingStyle* raw = log.get();
        F->Frame->AddLogMenuItem(std::move(log));
        F->Frame->OpenLog(raw);  // returns once the pass has stopped
        QVERIFY(raw->LinesRead > 1000);
        QVERIFY(raw->LinesRead < 200000);
        QCOMPARE(raw->Window, nullptr);
        QVERIFY(F->Messages->empty());
        QCOMPARE(raw->LastStr, std::string("10/03 10:00:00 DIAL "));
        QTRY_VERIFY(F->Frame->findChildren<TChildForm*>().isEmpty());
    }

    // The text loads while it is analysed: a question about a line of a later piece comes with
    // that line in the window, and the window stays there once the analysis is done.
    void questionDuringTheLoadShowsItsLine()
    {
        const QString path = Dir.filePath("deep.log");
        QByteArray text;
        for (int i = 1; i <= 80000; ++i)
            text += i == 70000 ? QByteArray("05/03 10:00:00 THROW\n")
                               : QString("05/03 10:00:00 DIAL 2:5020/%1\n").arg(i % 97).toLatin1();
        WriteBytes(path, text);
        auto log = std::make_unique<TTestStyle>();
        log->Path = path.toStdString();
        TChildForm* w = AddAndOpen(std::move(log));
        QVERIFY(w);
        QCOMPARE(*F->Messages, (std::vector<std::string>{"Error analyzing log at line 70000:\n\rboom\n\rContinue processing?"}));
        QCOMPARE(w->Viewer()->CaretLine(), 70000);
        QCOMPARE(w->Viewer()->LineCount(), 80000);
        QCOMPARE(w->StatusText(0).left(17), QString("Analysis complete"));
    }

    void closingTheMainWindowDuringTheAnalysis()
    {
        const QString path = Dir.filePath("quit.log");
        QByteArray text;
        for (int i = 0; i < 100000; ++i)
            text += QString("05/03 10:00:00 DIAL 2:5020/%1\n").arg(i % 97).toLatin1();
        WriteBytes(path, text);
        auto log = std::make_unique<TQuittingStyle>();
        log->Path = path.toStdString();
        log->Name = "Quitting";
        log->Frame = F->Frame.get();
        TQuittingStyle* raw = log.get();
        F->Frame->AddLogMenuItem(std::move(log));
        F->Frame->OpenLog(raw);
        QTRY_VERIFY(!F->Frame->isVisible());
        QVERIFY(raw->LinesRead < 100000);
        // The settings were written on the way out, the log among them.
        QSettings ini(Ini, QSettings::IniFormat);
        QCOMPARE(ini.value("Log1/Name").toString(), QString("Quitting"));
    }

    void otherStyleIsNeverColoured_GenericDaysWalkTheText()
    {
        const QString path = Dir.filePath("other.log");
        WriteBytes(path, "+ 01 Mar 10:00:00 BINK a\n+ 01 Mar 11:00:00 BINK b\n\n+ 02 Mar 09:00:00 BINK c\n"
                         "garbage line\n+ 03 Mar 01:00:00 BINK d\n");
        auto other = std::make_unique<TLog>();
        other->Path = path.toStdString();
        other->Name = "other";
        TLog* o = other.get();
        TChildForm* w = AddAndOpen(std::move(other));
        QVERIFY(w);
        QVERIFY(!w->HiliteBtn->isEnabled());
        QVERIFY(!w->Viewer()->Highlight());
        QVERIFY(o->Highlight);
        QCOMPARE(w->StatusText(0), QString());
        w->close();

        auto bink = std::make_unique<TBinkLog>();
        bink->Path = path.toStdString();
        bink->Name = "bink";
        w = AddAndOpen(std::move(bink));
        QVERIFY(w && w->Viewer()->Highlight());
        LogViewer* v = w->Viewer();
        w->GotoLine(1);
        w->NextDayBtn->click();
        QCOMPARE(v->CaretLine(), 4);
        w->PrevDayBtn->click();
        QCOMPARE(v->CaretLine(), 2);
        QVERIFY(!w->PrevSessBtn->isEnabled());
    }

    void frontDoorRunButtonsAndAutoNewWithoutMark()
    {
        const QString path = Dir.filePath("fd.log");
        WriteBytes(path, "----------  Mon 01 Mar 99, run\n+ 10:00 a\n+ 10:01 b\n----------  Mon 01 Mar 99, run\n"
                         "+ 11:00 c\n");
        auto fd = std::make_unique<TFDLog>();
        fd->Path = path.toStdString();
        fd->AutoNew = true;
        fd->LastStr = "no such line";
        TChildForm* w = AddAndOpen(std::move(fd));
        QVERIFY(w);
        QCOMPARE(w->Viewer()->FirstVisibleLine(), 1);
        QVERIFY(w->NextSessBtn->isEnabled());
        QCOMPARE(w->NextSessBtn->toolTip(), QString("Next run"));
        w->GotoLine(1);
        w->NextSessBtn->click();
        QCOMPARE(w->Viewer()->CaretLine(), 4);
        w->PrevSessBtn->click();
        QCOMPARE(w->Viewer()->CaretLine(), 1);
    }

    void deleteLogAndExit()
    {
        const QString path = Dir.filePath("gone.log");
        WriteBytes(path, "+ 01 Mar 10:00:00 BINK a\n");
        auto bink = std::make_unique<TBinkLog>();
        bink->Path = path.toStdString();
        TLog* b = bink.get();
        TChildForm* w = AddAndOpen(std::move(bink));
        QVERIFY(w);
        w->KillBtn->click();
        QVERIFY(!QFile::exists(path));
        QTRY_VERIFY(!F->Frame->WindowOfLog(b));
    }

private:
};

QTEST_MAIN(TestChildForm)
#include "tst_childform.moc"
