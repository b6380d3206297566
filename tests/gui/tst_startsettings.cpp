#include <QElapsedTimer>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "app/startsettings.h"
#include "guitestutil.h"

using tarvex::TMemorySettings;

// The saved desktop as the start reads it: NumChildren says how many windows there were, but a
// damaged count must neither stall the start nor open windows that nobody saved.
class TestStartSettings : public QObject
{
    Q_OBJECT
private slots:
    void desktopCountBoundByTheSectionsThere()
    {
        TMemorySettings reg;
        QVERIFY(ReadDesktop(reg).empty());

        reg.WriteString("General", "NumChildren", "2147483647");
        reg.WriteString("Child1", "LogName", "A");
        reg.WriteString("Child3", "LogName", "C");
        reg.WriteString("Child3", "Left", "0x10");
        reg.WriteString("Child3", "Maximized", "1");
        reg.WriteString("Child07", "LogName", "not a desktop section");
        reg.WriteString("Child99999999999", "LogName", "beyond any count");
        QElapsedTimer t;
        t.start();
        const std::vector<TDesktopEntry> all = ReadDesktop(reg);
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(all.size(), std::size_t(3));
        QCOMPARE(all[0].LogName, std::string("A"));
        QCOMPARE(all[1].LogName, std::string());  // a gap keeps its place, as it was saved
        QCOMPARE(all[2].LogName, std::string("C"));
        QCOMPARE(all[2].Left, 16);
        QVERIFY(all[2].Maximized);

        // The count still bounds the sections read.
        reg.WriteString("General", "NumChildren", "1");
        QCOMPARE(ReadDesktop(reg).size(), std::size_t(1));
        reg.WriteString("General", "NumChildren", "-3");
        QVERIFY(ReadDesktop(reg).empty());
        reg.WriteString("General", "NumChildren", "many");
        QVERIFY(ReadDesktop(reg).empty());
    }

    // Through the real start: the one window saved comes back at once, and nothing else opens.
    void hugeChildCountRestoresTheSavedWindowOnly()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath("a.log");
        WriteBytes(log, "+ 01 Mar 10:03:00 BINK Dialing 2:5020/1\n");
        const QString ini = dir.filePath("desktop.ini");
        {
            TQtSettingsStore reg(ini);
            reg.WriteInteger("General", "NumLogs", 1);
            reg.WriteBool("General", "SaveDesktop", true);
            reg.WriteString("General", "NumChildren", "2147483647");
            reg.WriteString("Log1", "Name", "");
            reg.WriteInteger("Log1", "Style", tarvex::lsGenericBink);
            reg.WriteString("Log1", "Path", log.toStdString());
            reg.WriteString("Child1", "LogName", "");
            reg.WriteInteger("Child1", "Width", 300);
            reg.WriteInteger("Child1", "Height", 200);
        }
        QElapsedTimer t;
        t.start();
        TFrameFixture f(ini);
        f.Frame->show();
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        QVERIFY(t.elapsed() < 30000);
        QVERIFY(f.Messages->empty());
        f.Frame->close();
    }
};

QTEST_MAIN(TestStartSettings)
#include "tst_startsettings.moc"
