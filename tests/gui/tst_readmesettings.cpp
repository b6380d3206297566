// The settings example of README.md, copied as it stands (only the mailer folder is put where
// the test made one), must configure and open its log; and a hand-written "[General]" section
// stays readable after the program has written its own settings back.
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "guitestutil.h"
#include "log/mailerlog.h"
#include "platform/paths.h"
#include "tmailfixture.h"

using namespace tarvex::fixtures;

class TestReadmeSettings : public QObject
{
    Q_OBJECT
private slots:
    void readmeExampleOpensItsLog()
    {
        QFile readme(QStringLiteral(TARVEX_SOURCE_DIR) + "/README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const QRegularExpressionMatch m = QRegularExpression("```ini\n(.*?)```", QRegularExpression::DotMatchesEverythingOption).match(text);
        QVERIFY2(m.hasMatch(), "README holds an ini example");
        QString example = m.captured(1);
        QVERIFY(example.contains("[General]"));
        QVERIFY(example.contains("/srv/fido/t-mail"));

        QTemporaryDir dir;
        const QString mailer = dir.filePath("t-mail");
        TMailDirOptions options;
        WriteTMailDir(mailer.toStdString(), options);
        TMailLogOptions logOptions;
        logOptions.Lines = 2000;
        logOptions.WithSeparators = false;
        WriteFileBytes(mailer.toStdString() + "/t-mail.log", BuildTMailLog(logOptions, options.Phrases));
        example.replace("/srv/fido/t-mail", mailer);
        const QString ini = dir.filePath("readme.ini");
        WriteBytes(ini, example.toUtf8());

        {
            TFrameFixture f(ini);
            f.Frame->show();
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(1));
            tarvex::TLog& log = f.Frame->Logs[0];
            QCOMPARE(log.Name, std::string("My station"));
            QCOMPARE(log.Style, std::uint8_t(tarvex::lsTMail));
            QCOMPARE(log.Path, (mailer + "/t-mail.log").toStdString());
            QCOMPARE(static_cast<tarvex::TMailerLog&>(log).MailerPath, mailer.toStdString());
            QVERIFY(f.Frame->AppSettings.OEMConvert);
            QVERIFY(f.Frame->AppSettings.SaveDesktop);
            f.Frame->OpenLog(&log);
            QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
            TChildForm* w = f.Frame->LogWindows().front();
            QTRY_VERIFY(w->StatusText(0).startsWith("Analysis complete, "));
            QVERIFY(!w->StatusText(1).startsWith("0 days"));
            QVERIFY2(f.Messages->empty(), f.Messages->empty() ? "" : f.Messages->front().c_str());
            f.Frame->close();
        }
        // After the program wrote its settings back, the file still configures the same log
        // and holds each general value once.
        QSettings s(ini, QSettings::IniFormat);
        QCOMPARE(s.value("General/NumLogs").toString(), QString("1"));
        QVERIFY(!s.contains("NumLogs"));
        TFrameFixture again(ini);
        again.Frame->show();
        QCOMPARE(again.Frame->Logs.Count(), std::size_t(1));
        again.Frame->close();
    }

    void drivesSectionAppliedAtStart()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        QDir(dir.path()).mkpath("fido/T-Mail");
        WriteBytes(ini, ("[Drives]\nc=" + dir.filePath("fido") + "\nXY=/nowhere\n").toUtf8());
        {
            TFrameFixture f(ini);
            f.Frame->show();
            QCOMPARE(tarvex::GetDriveMap().size(), std::size_t(1));
            QCOMPARE(tarvex::GetDriveMap().at('C'), dir.filePath("fido").toStdString());
            QCOMPARE(tarvex::ResolvePath("C:\\T-MAIL\\DIR.FRQ"), dir.filePath("fido/T-Mail/DIR.FRQ").toStdString());
            f.Frame->close();
        }
        QSettings s(ini, QSettings::IniFormat);
        QCOMPARE(s.value("Drives/C").toString(), dir.filePath("fido"));
        tarvex::ClearDriveMap();
    }

    void handWrittenGeneralEditedLaterWins()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("s.ini");
        WriteBytes(ini, "[General]\nDayEnd=5\nDLCDigits=4\n");
        {
            TQtSettingsStore reg(ini);
            QCOMPARE(reg.ReadInteger("General", "DayEnd", -1), 5);
            QVERIFY(reg.SectionExists("General"));
            QCOMPARE(reg.ReadSection("General").size(), std::size_t(2));
            reg.WriteInteger("General", "DayEnd", 6);
        }
        TQtSettingsStore reg(ini);
        QCOMPARE(reg.ReadInteger("General", "DayEnd", -1), 6);
        QCOMPARE(reg.ReadInteger("General", "DLCDigits", -1), 4);
        QCOMPARE(reg.ReadSection("General").size(), std::size_t(2));
        reg.EraseSection("General");
        QVERIFY(!reg.SectionExists("General"));
        QCOMPARE(reg.ReadInteger("General", "DLCDigits", -1), -1);
    }
};

QTEST_MAIN(TestReadmeSettings)
#include "tst_readmesettings.moc"
