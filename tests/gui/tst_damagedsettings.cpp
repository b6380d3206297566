#include <QElapsedTimer>
#include <QSettings>
#include <QtTest>

#include "app/frameform.h"
#include "guitestutil.h"

// A settings file that a crash, a full disk or a hand edit has damaged: the program starts,
// shows the logs it can read, and writes back at exit without losing any log's section.
class TestDamagedSettings : public QObject
{
    Q_OBJECT
private slots:
    void startsShowsWhatItCanAndKeepsEverySection()
    {
        const QString ini = Dir.filePath("damaged.ini");
        const QByteArray big(10 << 20, 'x');
        QByteArray text;
        // (An INI file keeps the settings' own General section as [%General].)
        text += "garbage without an equals sign\n[General\n=value without a key\n\x01\x02\xff\n";
        text += "[%General]\nNumLogs=2147483647\nSaveDesktop=banana\n";
        text += "[Log1]\nName=First\nStyle=2\nPath=/nowhere/first.log\nLastStr=" + big + "\n";
        text += "[Log2]\nName=Huge style\nStyle=99999999999\nPath=/nowhere/2.log\n";
        text += "[Log3]\nName=Negative style\nStyle=-7\n";
        text += "[Log5]\nName=Cp866 \x8f\xe0\xa8\xa2\xa5\xe2\nStyle=0\n";
        text += "[Colors]\nNormal=not a colour\nErrors=$00FF\n";
        text += "[Extra]\nKept=yes\n";
        WriteBytes(ini, text);

        QElapsedTimer started;
        started.start();
        {
            TFrameFixture f(ini);
            f.Frame->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.Frame.get()));
            // Well under the time a loop over two thousand million sections would take.
            QVERIFY(started.elapsed() < 30000);
            qInfo("started in %lld ms", static_cast<long long>(started.elapsed()));
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(2));
            QCOMPARE(f.Frame->Logs[0].Name, std::string("First"));
            QCOMPARE(f.Frame->Logs[0].LastStr.size(), std::size_t(big.size()));
            QCOMPARE(f.Frame->Logs.Unreadable.size(), std::size_t(2));
            QCOMPARE(*f.Messages, std::vector<std::string>{"Invalid Log.Style!"});
            f.Frame->close();
        }
        QVERIFY(started.elapsed() < 60000);
        qInfo("closed after %lld ms", static_cast<long long>(started.elapsed()));

        QSettings back(ini, QSettings::IniFormat);
        QCOMPARE(back.value("General/NumLogs").toInt(), 4);
        QStringList names;
        for (int i = 1; i <= 4; ++i)
            names << back.value(QString("Log%1/Name").arg(i)).toString();
        QCOMPARE(names[0], QString("First"));
        QVERIFY(names[1].startsWith("Cp866 "));
        QCOMPARE(names[2], QString("Huge style"));
        QCOMPARE(names[3], QString("Negative style"));
        QCOMPARE(back.value("Log3/Style").toString(), QString("99999999999"));
        QCOMPARE(back.value("Log4/Style").toString(), QString("-7"));
        QCOMPARE(back.value("Log1/LastStr").toString().size(), big.size());
        QCOMPARE(back.value("Extra/Kept").toString(), QString("yes"));
        QVERIFY(!back.childGroups().contains("Log5"));
    }

private:
    QTemporaryDir Dir;
};

QTEST_MAIN(TestDamagedSettings)
#include "tst_damagedsettings.moc"
