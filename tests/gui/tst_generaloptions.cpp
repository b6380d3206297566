#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "base/fidoaddr.h"
#include "guitestutil.h"
#include "platform/envnames.h"
#include "platform/paths.h"
#include "setup/drivemapmodel.h"
#include "setup/generaloptionsform.h"
#include "styles/logfactory.h"
#include "viewer/logviewer.h"

using namespace tarvex;

namespace {

// Opens "General options" from the main window's menu item, lets act work on it and returns once
// it has closed.
void RunGeneralOptions(TFrameForm& frame, const std::function<void(TGeneralOptionsForm*)>& act)
{
    WhenDialogShows<TGeneralOptionsForm>(act);
    frame.findChild<QAction*>("GeneralItem")->trigger();
}

}  // namespace

class TestGeneralOptions : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        Ini = Dir.filePath(QString("settings%1.ini").arg(++Run));
        ClearDriveMap();
        SetShowDomain(false);
    }

    void cancelChangesNothing()
    {
        {
            TQtSettingsStore reg(Ini);
            reg.WriteString("Drives", "D", "/srv/d");
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        const TAppSettings before = f.Frame->AppSettings;
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            d->ChkSaveDesktop->setChecked(true);
            d->ChkShowDomain->setChecked(true);
            d->ChkFreqRealName->setChecked(true);
            d->ChkOEMConvert->setChecked(true);
            d->CmbOEMCodePage->setCurrentText("IBM437");
            d->CmbANSICodePage->setCurrentText("KOI8-R");
            d->EdtDLCLeft->setText("<");
            d->EdtDLCRight->setText(">");
            d->EdtDLCDigits->setText("5");
            d->EdtDLCLead->setText(" ");
            d->ChkDLCBackup->setChecked(false);
            d->Drives->RemoveRow(0);
            d->Drives->SetFolder(d->Drives->AddRow(), "/srv/c");
            d->BtnCancel->click();
        });
        const TAppSettings& after = f.Frame->AppSettings;
        QCOMPARE(after.SaveDesktop, before.SaveDesktop);
        QCOMPARE(after.ShowDomain, before.ShowDomain);
        QCOMPARE(after.FreqRealName, before.FreqRealName);
        QCOMPARE(after.OEMConvert, before.OEMConvert);
        QCOMPARE(after.OEMCodePage, before.OEMCodePage);
        QCOMPARE(after.ANSICodePage, before.ANSICodePage);
        QCOMPARE(after.DLCLeft, before.DLCLeft);
        QCOMPARE(after.DLCRight, before.DLCRight);
        QCOMPARE(after.DLCDigits, before.DLCDigits);
        QCOMPARE(after.DLCLead, before.DLCLead);
        QCOMPARE(after.DLCBackup, before.DLCBackup);
        QVERIFY(after.Drives == before.Drives);
        QVERIFY(!ShowDomain());
        QVERIFY((GetDriveMap() == std::map<char, std::string>{{'D', "/srv/d"}}));
        QVERIFY(f.Messages->empty());
    }

    void okCopiesAllValuesAndAppliesThem()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        bool filled = false;
        RunGeneralOptions(*f.Frame, [&](TGeneralOptionsForm* d) {
            // Filled from the settings: the defaults of an empty store.
            filled = !d->ChkSaveDesktop->isChecked() && !d->ChkOEMConvert->isChecked() &&
                     d->CmbOEMCodePage->currentText() == "IBM866" &&
                     d->CmbANSICodePage->currentText() == "windows-1251" && d->EdtDLCLeft->text() == "[" &&
                     d->EdtDLCRight->text() == "]" && d->EdtDLCDigits->text() == "3" &&
                     d->EdtDLCLead->text() == "0" && d->ChkDLCBackup->isChecked() && d->Drives->rowCount() == 0;
            d->ChkSaveDesktop->setChecked(true);
            d->ChkShowDomain->setChecked(true);
            d->ChkFreqRealName->setChecked(true);
            d->ChkOEMConvert->setChecked(true);
            d->CmbOEMCodePage->setCurrentText("IBM437");
            d->CmbANSICodePage->setCurrentText(" koi8-r ");  // any name a decoder knows, trimmed
            d->EdtDLCLeft->setText("(");
            d->EdtDLCRight->setText(")");
            d->EdtDLCDigits->setText("0004");
            d->EdtDLCLead->setText(" ");
            d->ChkDLCBackup->setChecked(false);
            d->Drives->SetFolder(d->Drives->AddRow(), "/srv/fido");
            d->BtnAddName->click();
            d->Environment->item(0, 0)->setText(" BT ");
            d->Environment->item(0, 1)->setText("/srv/fido/bt");
            d->BtnAddName->click();  // a row left without a name is dropped
            d->BtnOK->click();
        });
        QVERIFY(filled);
        const TAppSettings& s = f.Frame->AppSettings;
        QVERIFY(s.SaveDesktop);
        QVERIFY(s.ShowDomain);
        QVERIFY(s.FreqRealName);
        QVERIFY(s.OEMConvert);
        QCOMPARE(s.OEMCodePage, std::string("IBM437"));
        QCOMPARE(s.ANSICodePage, std::string("koi8-r"));
        QCOMPARE(s.DLCLeft, std::string("("));
        QCOMPARE(s.DLCRight, std::string(")"));
        QCOMPARE(s.DLCDigits, 4);
        QCOMPARE(s.DLCLead, std::string(" "));
        QVERIFY(!s.DLCBackup);
        QVERIFY((s.Drives == std::map<char, std::string>{{'C', "/srv/fido"}}));
        // Applied at once: addresses print with their domain, and mailer paths resolve on C:.
        QVERIFY(ShowDomain());
        QCOMPARE(ResolvePath("C:\\NO\\SUCH.CTL"), std::string("/srv/fido/NO/SUCH.CTL"));
        std::string path = "%bt%\\okfile.cfg";
        ExpandEnvironmentNames(path);
        QCOMPARE(path, std::string("/srv/fido/bt\\okfile.cfg"));
        QVERIFY(f.Messages->empty());
        f.Frame->close();

        QSettings ini(Ini, QSettings::IniFormat);
        QCOMPARE(ini.value("General/SaveDesktop").toString(), QString("1"));
        QCOMPARE(ini.value("General/DLCDigits").toString(), QString("4"));
        QCOMPARE(ini.value("General/ANSICodePage").toString(), QString("koi8-r"));
        QCOMPARE(ini.value("Drives/C").toString(), QString("/srv/fido"));
        QCOMPARE(ini.value("Environment/BT").toString(), QString("/srv/fido/bt"));
    }

    void emptyDigitsGiveZeroAndHugeOnesTheLargestInt()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            d->EdtDLCDigits->clear();
            d->BtnOK->click();
        });
        QCOMPARE(f.Frame->AppSettings.DLCDigits, 0);
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            QCOMPARE(d->EdtDLCDigits->text(), QString("0"));
            d->EdtDLCDigits->setText("99999999999999999999");
            d->BtnOK->click();
        });
        QCOMPARE(f.Frame->AppSettings.DLCDigits, INT_MAX);
    }

    void digitAndCharacterFieldsSwallowOtherKeys()
    {
        TTestEnv env;
        TGeneralOptionsForm form(env.Env);
        TAppSettings s;
        form.SetValues(s);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Pages->setCurrentIndex(1);

        form.EdtDLCDigits->clear();
        QTest::keyClicks(form.EdtDLCDigits, "1a2-b 3.+");
        QCOMPARE(form.EdtDLCDigits->text(), QString("123"));
        QTest::keyClick(form.EdtDLCDigits, Qt::Key_Backspace);
        QCOMPARE(form.EdtDLCDigits->text(), QString("12"));
        // Text that is not all digits does not get in by pasting either.
        form.EdtDLCDigits->selectAll();
        form.EdtDLCDigits->insert("7x");
        QCOMPARE(form.EdtDLCDigits->text(), QString("12"));

        for (QLineEdit* e : {form.EdtDLCLeft, form.EdtDLCRight, form.EdtDLCLead}) {
            e->clear();
            QTest::keyClicks(e, "<>");
            QCOMPARE(e->text(), QString("<"));
            QTest::keyClick(e, Qt::Key_Backspace);
            QCOMPARE(e->text(), QString());
            // A character that is no single byte every files.bbs agrees on is not taken.
            QTest::keyClicks(e, QString::fromUtf8("\xC2\xAB"));
            QCOMPARE(e->text(), QString());
            QTest::keyClicks(e, " ");
            QCOMPARE(e->text(), QString(" "));
        }
        TAppSettings out;
        form.GetValues(out);
        QCOMPARE(out.DLCDigits, 12);
        QCOMPARE(out.DLCLeft, std::string(" "));
    }

    void untouchedFieldsKeepTheirStoredBytes()
    {
        TTestEnv env;
        TGeneralOptionsForm form(env.Env);
        TAppSettings s;
        s.DLCLeft = "\xAE";  // a byte of the mailer's code page, written into the store by hand
        s.DLCDigits = -2;
        s.Drives = {{'F', "/mnt/\xFF" "fido"}};
        form.SetValues(s);
        TAppSettings out;
        out.DLCLeft = "?";
        form.GetValues(out);
        QCOMPARE(out.DLCLeft, s.DLCLeft);
        QCOMPARE(out.DLCDigits, -2);
        QVERIFY(out.Drives == s.Drives);
    }

    void unknownCodePageIsRefused()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        bool stayedOpen = false;
        int page = -1;
        RunGeneralOptions(*f.Frame, [&](TGeneralOptionsForm* d) {
            d->Pages->setCurrentIndex(1);
            d->CmbANSICodePage->setCurrentText("windows-9999");
            d->BtnOK->click();
            stayedOpen = d->isVisible() && d->result() != QDialog::Accepted;
            page = d->Pages->currentIndex();
            d->CmbOEMCodePage->setCurrentText("");
            d->CmbANSICodePage->setCurrentText("windows-1252");
            d->BtnOK->click();
            stayedOpen = stayedOpen && d->isVisible();
            d->CmbOEMCodePage->setCurrentText("CP437");
            d->BtnOK->click();
        });
        QVERIFY(stayedOpen);
        // Every name the lists offer is one the viewer decodes.
        for (const QString& name : TGeneralOptionsForm::CommonCodePages())
            QVERIFY2(ViewerCodec::IsKnown(name), qPrintable(name));
        QCOMPARE(page, 0);  // the page with the field shows
        QCOMPARE(*f.Messages,
                 (std::vector<std::string>{"Unknown code page \"windows-9999\"", "A code page must be named"}));
        QCOMPARE(f.Frame->AppSettings.ANSICodePage, std::string("windows-1252"));
        QCOMPARE(f.Frame->AppSettings.OEMCodePage, std::string("CP437"));
    }

    void newCodePageRedecodesOpenLogWindows()
    {
        // 0xE0 0xAF is "рп" in IBM866 and "аЇ" in windows-1251.
        const QString ru866 = QString::fromUtf8("\xD1\x80\xD0\xBF"), ru1251 = QString::fromUtf8("\xD0\xB0\xD0\x87");
        const QString other = Dir.filePath("other.log"), argus = Dir.filePath("argus.log");
        WriteBytes(other, QByteArray("12:00 \xE0\xAF\n"));
        WriteBytes(argus, QByteArray("+ 01 Mar 26 10:00:00 \xE0\xAF\n"));
        {
            TQtSettingsStore reg(Ini);
            reg.WriteString("Log1", "Name", "Other log");
            reg.WriteInteger("Log1", "Style", lsOther);
            reg.WriteString("Log1", "Path", other.toStdString());
            reg.WriteString("Log2", "Name", "Argus log");
            reg.WriteInteger("Log2", "Style", lsArgus);
            reg.WriteString("Log2", "Path", argus.toStdString());
            reg.WriteInteger("General", "NumLogs", 2);
            reg.WriteBool("General", "OEMConvert", true);
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->OpenLog(&f.Frame->Logs[0]);
        f.Frame->OpenLog(&f.Frame->Logs[1]);
        TChildForm* w = f.Frame->WindowOfLog(&f.Frame->Logs[0]);
        TChildForm* m = f.Frame->WindowOfLog(&f.Frame->Logs[1]);
        QVERIFY(w && m);
        // A log of no mailer style is shown in the ANSI code page, a mailer's with OEM conversion
        // in the OEM one.
        QCOMPARE(w->Viewer()->LineText(1), "12:00 " + ru1251);
        QCOMPARE(m->Viewer()->LineText(1).right(2), ru866);
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            d->CmbANSICodePage->setCurrentText("IBM866");
            d->CmbOEMCodePage->setCurrentText("windows-1251");
            d->BtnOK->click();
        });
        QCOMPARE(w->Viewer()->CodePage(), QString("IBM866"));
        QCOMPARE(w->Viewer()->LineText(1), "12:00 " + ru866);
        QCOMPARE(m->Viewer()->LineText(1).right(2), ru1251);
        // Cancel leaves the windows as they are.
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            d->CmbANSICodePage->setCurrentText("windows-1251");
            d->ChkOEMConvert->setChecked(false);
            d->BtnCancel->click();
        });
        QCOMPARE(w->Viewer()->CodePage(), QString("IBM866"));
        QCOMPARE(m->Viewer()->CodePage(), QString("windows-1251"));
        // Without OEM conversion a mailer's log is shown in the ANSI code page too.
        RunGeneralOptions(*f.Frame, [](TGeneralOptionsForm* d) {
            d->ChkOEMConvert->setChecked(false);
            d->BtnOK->click();
        });
        QCOMPARE(m->Viewer()->CodePage(), QString("IBM866"));
        f.Frame->close();
    }

    void drivesAreSavedAndReadBackByAFreshStart()
    {
        // A mailer tree whose names differ in case from what the mailer writes.
        QVERIFY(QDir(Dir.path()).mkpath("station/fido/t-mail"));
        const QString root = Dir.filePath("station");
        WriteBytes(root + "/fido/t-mail/t-mail.ctl", "Address 2:5020/52\n");
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            RunGeneralOptions(*f.Frame, [&](TGeneralOptionsForm* d) {
                d->Pages->setCurrentIndex(2);
                d->BtnAddDrive->click();
                d->Drives->SetFolder(0, root);
                d->BtnAddDrive->click();
                QVERIFY(d->Drives->SetLetter(1, "e:"));
                d->Drives->SetFolder(1, Dir.filePath("elsewhere"));
                d->BtnAddDrive->click();  // a third row left without a folder maps nothing
                d->BtnOK->click();
            });
            QCOMPARE(ResolvePath("C:\\FIDO\\T-MAIL\\T-MAIL.CTL"), (root + "/fido/t-mail/t-mail.ctl").toStdString());
            f.Frame->close();
        }
        ClearDriveMap();
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            const std::map<char, std::string> expected{{'C', root.toStdString()},
                                                       {'E', Dir.filePath("elsewhere").toStdString()}};
            QVERIFY(f.Frame->AppSettings.Drives == expected);
            QVERIFY(GetDriveMap() == expected);
            int rows = 0;
            QString first;
            RunGeneralOptions(*f.Frame, [&](TGeneralOptionsForm* d) {
                rows = d->Drives->rowCount();
                first = d->Drives->data(d->Drives->index(0, TDriveMapModel::ColDrive)).toString() + " " +
                        d->Drives->Folder(0);
                d->Drives->RemoveRow(1);
                d->BtnOK->click();
            });
            QCOMPARE(rows, 2);
            QCOMPARE(first, "C: " + root);
            f.Frame->close();
        }
        QSettings ini(Ini, QSettings::IniFormat);
        ini.beginGroup("Drives");
        QCOMPARE(ini.childKeys(), QStringList{"C"});
        QCOMPARE(ini.value("C").toString(), root);
    }

    void driveMapRows()
    {
        TDriveMapModel m;
        m.SetMap({{'c', "/a"}, {'D', "/b"}});
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.Letter(0), 'C');
        QVERIFY(!m.SetLetter(1, "c"));   // C: is taken
        QVERIFY(!m.SetLetter(1, "1"));
        QVERIFY(!m.SetLetter(1, "DE"));
        QVERIFY(m.SetLetter(1, " x: "));
        QCOMPARE(m.Letter(1), 'X');
        QCOMPARE(m.AddRow(), 2);
        QCOMPARE(m.Letter(2), 'D');  // the first letter free from C on
        // A relative folder is made absolute, an empty one maps nothing.
        m.SetFolder(0, "rel/dir");
        const auto map = m.Map();
        QCOMPARE(map.size(), std::size_t(2));
        QCOMPARE(map.at('C'), QDir::current().absoluteFilePath("rel/dir").toStdString());
        QCOMPARE(map.at('X'), std::string("/b"));
        // A folder that is not there is marked, with the reason, and still kept.
        QVERIFY(!m.data(m.index(1, TDriveMapModel::ColFolder), Qt::DecorationRole).isNull());
        QCOMPARE(m.data(m.index(1, TDriveMapModel::ColFolder), Qt::ToolTipRole).toString(), QString("No such folder"));
        m.SetFolder(1, QDir::tempPath());
        QVERIFY(m.data(m.index(1, TDriveMapModel::ColFolder), Qt::DecorationRole).isNull());
        // Every letter taken: no more rows.
        for (int i = 0; i < 30; ++i)
            m.AddRow();
        QCOMPARE(m.AddRow(), -1);
    }

    void optionsMenuOpensTheDialogsFromTheKeyboard()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        QStringList items;
        for (QAction* a : f.Frame->findChild<QMenu*>("OptionsMenu")->actions())
            items << a->text();
        QCOMPARE(items, QStringList({"&General...", "&Logs...", "&Colors...", "&Font..."}));
        for (const auto& [key, title] : {std::pair{Qt::Key_G, QString("General options")},
                                         std::pair{Qt::Key_L, QString("Logs")},
                                         std::pair{Qt::Key_C, QString("Colors Setup")}}) {
            // A closed dialog hands the focus back to the main window (here, by hand).
            f.Frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.Frame.get()));
            QString seen;
            QTimer poll;
            poll.setInterval(5);
            connect(&poll, &QTimer::timeout, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    poll.stop();
                    seen = modal->windowTitle();
                    modal->close();
                }
            });
            poll.start();
            QTest::keyClick(f.Frame.get(), Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), key);
            QTRY_COMPARE(seen, title);
        }
        f.Frame->close();
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    int Run = 0;
};

QTEST_MAIN(TestGeneralOptions)
#include "tst_generaloptions.moc"
