#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "guitestutil.h"
#include "styles/logfactory.h"

using namespace tarvex;

namespace {

// Writes a configured log straight into a settings file.
void PutLog(TQtSettingsStore& reg, int n, const std::string& name, int style, const std::string& path = {})
{
    const std::string section = "Log" + std::to_string(n);
    reg.WriteString(section, "Name", name);
    reg.WriteInteger(section, "Style", style);
    reg.WriteString(section, "Path", path);
}

QByteArray BinkLines(int day)
{
    QByteArray out;
    for (int i = 0; i < 5; ++i)
        out += QString("+ %1 Mar 10:0%2:00 BINK line %2\n").arg(day, 2, 10, QChar('0')).arg(i).toLatin1();
    return out;
}

}  // namespace

class TestFrameForm : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        Ini = Dir.filePath(QString("settings%1.ini").arg(++Run));
    }

    void firstRunWithEmptyStoreWritesTheDefaults()
    {
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            QCOMPARE(f.Frame->windowTitle(), QString("Tarvex"));
            QVERIFY(!f.Frame->findChild<QMenu*>("LogsMenu")->menuAction()->isVisible());
            QVERIFY(!f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
            QCOMPARE(f.Frame->AppSettings.DayEnd, std::uint16_t(8));
            QCOMPARE(f.Frame->AppSettings.DLCDigits, 3);
            QVERIFY(f.Frame->AppSettings.DLCBackup);
            QCOMPARE(f.Frame->LogColors.Values, TLogColors::Defaults());
            QCOMPARE(f.Frame->geometry().size(), QSize(673, 534));
            // The system's fixed-pitch font, whatever the machine calls it (some monospaced faces
            // do not flag themselves as fixed pitch, so the family is what is compared).
            QCOMPARE(f.Frame->LogFont.Font.family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
            QVERIFY(f.Messages->empty());
            f.Frame->close();
        }
        QSettings s(Ini, QSettings::IniFormat);
        QCOMPARE(s.value("General/NumLogs").toString(), QString("0"));
        QCOMPARE(s.value("General/DayEnd").toString(), QString("8"));
        QCOMPARE(s.value("General/DLCBackup").toString(), QString("1"));
        QCOMPARE(s.value("General/OEMCodePage").toString(), QString("IBM866"));
        QCOMPARE(s.value("General/ANSICodePage").toString(), QString("windows-1251"));
        QCOMPARE(s.value("Colors/Normal").toString(), QString("clBlack"));
        QCOMPARE(s.value("Colors/Background").toString(), QString("clSilver"));
        QCOMPARE(s.value("Colors/TLHuman").toString(), QString("clFuchsia"));
        QCOMPARE(s.value("TFrameForm/NormPos").toString(), QString("168,86,841,620"));
        QVERIFY(!s.value("General/NumChildren").isValid());
    }

    void threeLogsOneDeletedAtExit()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Station/one", lsTMail);
            PutLog(reg, 2, "Second \\ log=2", lsGenericBink);
            PutLog(reg, 3, "third", lsOther);
            reg.WriteInteger("General", "NumLogs", 3);
            reg.WriteBool("Station/one.SessList", "Open", true);
            reg.WriteBool("Second \\ log=2.SessList", "Open", true);
            reg.WriteString("Colors", "Errors", "$00123456");
        }
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(3));
            QMenu* logs = f.Frame->findChild<QMenu*>("LogsMenu");
            QVERIFY(logs->menuAction()->isVisible());
            QCOMPARE(logs->actions().size(), 3);
            QCOMPARE(logs->actions()[1]->text(), QString("Second \\ log=2"));
            f.Frame->RemoveLog(&f.Frame->Logs[0]);
            QCOMPARE(logs->actions().size(), 2);
            QCOMPARE(logs->actions()[0]->text(), QString("Second \\ log=2"));
            QCOMPARE(logs->actions()[1]->data().toInt(), 2);
            f.Frame->close();
        }
        TQtSettingsStore reg(Ini);
        QCOMPARE(reg.ReadInteger("General", "NumLogs", -1), 2);
        QCOMPARE(reg.ReadString("Log1", "Name", ""), std::string("Second \\ log=2"));
        QCOMPARE(reg.ReadInteger("Log1", "Style", -1), int(lsGenericBink));
        QCOMPARE(reg.ReadString("Log2", "Name", ""), std::string("third"));
        QVERIFY(!reg.SectionExists("Log3"));
        // The deleted log's view state went with it; the other log's stayed.
        QVERIFY(!reg.SectionExists("Station/one.SessList"));
        QVERIFY(reg.ReadBool("Second \\ log=2.SessList", "Open", false));
        QCOMPARE(reg.ReadString("Colors", "Errors", ""), std::string("$00123456"));
    }

    void unknownStyleLosesNoOtherLog()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "first", lsGenericFD, "/x/fd.log");
            PutLog(reg, 2, "from a newer version", 42, "/x/new.log");
            reg.WriteString("Log2", "Extra", "kept");
            PutLog(reg, 3, "third", lsGenericBink, "/x/bink.log");
            reg.WriteInteger("General", "NumLogs", 3);
            reg.WriteString("Colors", "Info", "clNavy");
        }
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            QCOMPARE(f.Messages->size(), std::size_t(1));
            QCOMPARE(f.Messages->front(), std::string("Invalid Log.Style!"));
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(2));
            f.Frame->close();
        }
        TQtSettingsStore reg(Ini);
        QCOMPARE(reg.ReadInteger("General", "NumLogs", -1), 3);
        QCOMPARE(reg.ReadString("Log1", "Name", ""), std::string("first"));
        QCOMPARE(reg.ReadString("Log2", "Name", ""), std::string("third"));
        QCOMPARE(reg.ReadString("Log3", "Name", ""), std::string("from a newer version"));
        QCOMPARE(reg.ReadInteger("Log3", "Style", -1), 42);
        QCOMPARE(reg.ReadString("Log3", "Extra", ""), std::string("kept"));
        QCOMPARE(reg.ReadString("Colors", "Info", ""), std::string("clNavy"));
    }

    void desktopRestoredWithOneWindowMaximised()
    {
        const QString a = Dir.filePath("a.log"), b = Dir.filePath("b.log");
        WriteBytes(a, BinkLines(1));
        WriteBytes(b, BinkLines(2));
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Log A", lsGenericBink, a.toStdString());
            PutLog(reg, 2, "Log B", lsGenericBink, b.toStdString());
            PutLog(reg, 3, "Missing", lsGenericBink, Dir.filePath("none.log").toStdString());
            reg.WriteInteger("General", "NumLogs", 3);
            reg.WriteBool("General", "SaveDesktop", true);
            reg.WriteInteger("General", "NumChildren", 4);
            const char* names[] = {"Log A", "Renamed since", "Missing", "Log B"};
            for (int i = 0; i < 4; ++i) {
                const std::string s = "Child" + std::to_string(i + 1);
                reg.WriteString(s, "LogName", names[i]);
                reg.WriteInteger(s, "Left", 10 + i * 20);
                reg.WriteInteger(s, "Top", 5 + i * 20);
                reg.WriteInteger(s, "Width", 300);
                reg.WriteInteger(s, "Height", 200);
                reg.WriteBool(s, "Maximized", i == 3);
            }
        }
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            QTRY_COMPARE(f.Frame->LogWindows().size(), 2);
            TChildForm* wa = f.Frame->WindowOfLog(f.Frame->Logs.FindLog("Log A"));
            TChildForm* wb = f.Frame->WindowOfLog(f.Frame->Logs.FindLog("Log B"));
            QVERIFY(wa && wb);
            QVERIFY(!wa->isMaximized());
            QVERIFY(wb->isMaximized());
            QCOMPARE(wa->geometry(), QRect(10, 5, 300, 200));
            // The entry whose log is missing on disk told the user; the renamed one was skipped.
            QCOMPARE(*f.Messages, std::vector<std::string>{"Cannot open log file"});
            f.Frame->close();
        }
        TQtSettingsStore reg(Ini);
        QCOMPARE(reg.ReadInteger("General", "NumChildren", -1), 2);
        QCOMPARE(reg.ReadString("Child1", "LogName", ""), std::string("Log B"));  // the front-most first
        QVERIFY(reg.ReadBool("Child1", "Maximized", false));
        QCOMPARE(reg.ReadString("Child2", "LogName", ""), std::string("Log A"));
        QCOMPARE(reg.ReadInteger("Child2", "Left", -1), 10);
        QCOMPARE(reg.ReadInteger("Child2", "Width", -1), 300);
        QVERIFY(!reg.ReadBool("Child2", "Maximized", true));
        QCOMPARE(reg.ReadString("Log1", "LastStr", ""), std::string("+ 01 Mar 10:03:00 BI"));
    }

    // Users move between screens of different sizes: a main window stored reaching out of the
    // screen comes back on it, and a log window stored out of the main window's area comes
    // back inside it.
    void placementsOutOfReachComeBackInside()
    {
        const QString path = Dir.filePath("far.log");
        WriteBytes(path, BinkLines(1));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Far", lsGenericBink, path.toStdString());
            reg.WriteInteger("General", "NumLogs", 1);
            reg.WriteBool("General", "SaveDesktop", true);
            reg.WriteInteger("General", "NumChildren", 1);
            reg.WriteString("Child1", "LogName", "Far");
            reg.WriteInteger("Child1", "Left", 2000);
            reg.WriteInteger("Child1", "Top", 100);
            reg.WriteInteger("Child1", "Width", 300);
            reg.WriteInteger("Child1", "Height", 5000);
            const QRect stored(screen.right() - 300, screen.top() + 50, 600, 400);
            reg.WriteString("TFrameForm", "NormPos",
                            QString("%1,%2,%3,%4").arg(stored.left()).arg(stored.top()).arg(stored.right() + 1)
                                .arg(stored.bottom() + 1).toStdString());
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        QVERIFY(screen.contains(f.Frame->geometry()));
        QCOMPARE(f.Frame->geometry().size(), QSize(600, 400));
        const QRect area(QPoint(0, 0), f.Frame->mdiArea()->viewport()->size());
        const QRect log = f.Frame->LogWindows().front()->geometry();
        QVERIFY(area.contains(log));
        QCOMPARE(log.width(), 300);
        f.Frame->close();
    }

    void altXClosesAndAltShiftXDoesNot()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame.get()));
        QTest::keyClick(f.Frame.get(), Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier);
        QVERIFY(f.Frame->isVisible());
        QTest::keyClick(f.Frame.get(), Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!f.Frame->isVisible());
    }

    void menusAndTheTMailMenu()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "tm", lsTMail);
            reg.WriteString("Log1", "MailerPath", "/fido/t-mail");
            reg.WriteInteger("General", "NumLogs", 1);
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
        QStringList captions;
        for (QAction* a : f.Frame->menuBar()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"&File", "&Logs", "&T-mail", "&Options", "&Window", "&Help"}));
        QVERIFY(f.Frame->findChild<QAction*>("FontItem"));
        QVERIFY(f.Frame->findChild<QAction*>("AboutItem"));
        f.Frame->OpenLog(&f.Frame->Logs[0]);  // no path
        QCOMPARE(*f.Messages, std::vector<std::string>{"Cannot open log file"});
        QVERIFY(f.Frame->LogWindows().isEmpty());
        f.Frame->close();
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    int Run = 0;
};

QTEST_MAIN(TestFrameForm)
#include "tst_frameform.moc"
