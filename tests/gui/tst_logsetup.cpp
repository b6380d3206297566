// The "Logs" dialog as a user drives it: from the Options menu, by mouse and keyboard, with the
// main window's Logs menu and the settings store following.
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "guitestutil.h"
#include "log/mailerlog.h"
#include "parsers/brakelog.h"
#include "setup/brakeoptionsform.h"
#include "setup/logsetupform.h"
#include "styles/logfactory.h"

using namespace tarvex;

namespace {

// Opens the Logs dialog from the Options menu and lets act work in it; act closes it.
void WithLogsDialog(TFrameForm& frame, const std::function<void(TLogSetupForm*)>& act)
{
    bool ran = false;
    WhenDialogShows<TLogSetupForm>([&](TLogSetupForm* form) {
        ran = true;
        act(form);
        if (form->isVisible())
            form->BtnOK->click();
    });
    frame.findChild<QAction*>("LogsSetupItem")->trigger();
    QVERIFY(ran);
}

QStringList MenuCaptions(TFrameForm& frame)
{
    QStringList out;
    for (QAction* a : frame.findChild<QMenu*>("LogsMenu")->actions())
        out << a->text();
    return out;
}

QStringList ListNames(TLogSetupForm* form)
{
    QStringList out;
    for (int i = 0; i < form->LbxLogs->count(); ++i)
        out << form->LbxLogs->item(i)->text();
    return out;
}

bool LogsMenuShown(TFrameForm& frame) { return frame.findChild<QMenu*>("LogsMenu")->menuAction()->isVisible(); }

bool HintShown(TFrameForm& frame) { return frame.findChild<QLabel*>("EmptyAreaHint")->isVisible(); }

// Picks a style from the drop-down list as its pop-up does: the item becomes current, then the
// choice is announced.
void ChooseStyle(TLogSetupForm* form, const QString& name)
{
    const int pos = form->CmbStyle->findText(name);
    QVERIFY(pos >= 0);
    form->CmbStyle->setCurrentIndex(pos);
    emit form->CmbStyle->activated(pos);
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void PutLog(TQtSettingsStore& reg, int n, const std::string& name, int style, const std::string& path)
{
    const std::string section = "Log" + std::to_string(n);
    reg.WriteString(section, "Name", name);
    reg.WriteInteger(section, "Style", style);
    reg.WriteString(section, "Path", path);
    reg.WriteInteger("General", "NumLogs", n);
}

}  // namespace

class TestLogSetup : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        Ini = Dir.filePath(QString("settings%1.ini").arg(++Run));
        LogFile = Dir.filePath("bink.log");
        WriteBytes(LogFile, "+ 01 Mar 10:00:00 BINK up\n+ 01 Mar 10:01:00 BINK down\n");
    }

    void theStyleListIsInDialogOrder()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        WithLogsDialog(*f.Frame, [](TLogSetupForm* form) {
            QStringList styles;
            for (int i = 0; i < form->CmbStyle->count(); ++i)
                styles << form->CmbStyle->itemText(i);
            QCOMPARE(styles, (QStringList{"T-mail", "Bink/+", "Brake!", "FHMail", "SF-Mail", "Argus",
                                          "Generic Bink-style", "Generic FrontDoor", "Other"}));
            QCOMPARE(form->BtnBrowsePath->toolTip(), QString("Select file"));
            QCOMPARE(form->BtnBrowseMailer->toolTip(), QString("Select directory"));
            QCOMPARE(form->ChkAutoNew->toolTip(), QString("Automatically move to new info"));
            QVERIFY(!form->BtnLogOptions->isEnabled());
        });
    }

    void newThenTypingANameFollowsEveryKeystroke()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(HintShown(*f.Frame));
        QVERIFY(!LogsMenuShown(*f.Frame));
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            form->BtnNew->click();
            QCOMPARE(ListNames(form), QStringList{"New log"});
            QCOMPARE(form->LbxLogs->currentRow(), 0);
            QCOMPARE(form->EdtName->text(), QString("New log"));
            QCOMPARE(form->CmbStyle->currentText(), QString("Other"));
            QCOMPARE(MenuCaptions(*f.Frame), QStringList{"New log"});
            // New puts the caret in the name, all of it selected: typing replaces it.
            const QString typed = "Node & Co";
            for (int i = 0; i < typed.size(); ++i) {
                QTest::keyClick(form->EdtName, typed[i].toLatin1());
                const QString now = typed.left(i + 1);
                QCOMPARE(ListNames(form), QStringList{now});
                QCOMPARE(form->LbxLogs->currentRow(), 0);
                QCOMPARE(f.Frame->findChild<QMenu*>("LogsMenu")->actions()[0]->property("LogName").toString(), now);
                QCOMPARE(QString::fromStdString(f.Frame->Logs[0].Name), now);
            }
            // A menu caption shows '&' as typed, not as an access key.
            QCOMPARE(MenuCaptions(*f.Frame), QStringList{"Node && Co"});
            QTest::keyClick(form->EdtName, Qt::Key_Backspace);
            QCOMPARE(ListNames(form), QStringList{"Node & C"});

            // Two logs of one name: editing the second renames only the second.
            form->BtnNew->click();
            form->BtnNew->click();
            QCOMPARE(form->LbxLogs->currentRow(), 2);
            QTest::keyClicks(form->EdtName, "Third");
            QCOMPARE(ListNames(form), (QStringList{"Node & C", "New log", "Third"}));
            QCOMPARE(MenuCaptions(*f.Frame), (QStringList{"Node && C", "New log", "Third"}));
            QCOMPARE(f.Frame->Logs[1].Name, std::string("New log"));
        });
        QVERIFY(LogsMenuShown(*f.Frame));
        QVERIFY(!HintShown(*f.Frame));
        QVERIFY(f.Messages->empty());
    }

    void tmailToOtherOnAClosedLogClearsTheMailerFields()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Station", lsTMail, LogFile.toStdString());
            reg.WriteString("Log1", "MailerPath", Dir.path().toStdString());
            reg.WriteBool("Log1", "UpdateDLC", true);
            reg.WriteInteger("Log1", "CutSize", 64);
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
        const TLog* before = &f.Frame->Logs[0];
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            // Nothing is edited until a log is chosen.
            QVERIFY(!form->EdtName->isEnabled());
            QVERIFY(!form->BtnDelete->isEnabled());
            form->LbxLogs->setCurrentRow(0);
            QCOMPARE(form->CmbStyle->currentText(), QString("T-mail"));
            QCOMPARE(form->EdtMailerPath->text(), Dir.path());
            QVERIFY(form->EdtMailerPath->isEnabled());
            QVERIFY(form->LblMailerPath->isEnabled());
            QVERIFY(form->ChkUpdateDLC->isChecked());
            QCOMPARE(form->EdtCutSize->text(), QString("64"));
            QVERIFY(form->RadKBytes->isChecked());

            // End: the last style of the list, Other, chosen with one key.
            QTest::keyClick(form->CmbStyle, Qt::Key_End);
            QCOMPARE(form->CmbStyle->currentText(), QString("Other"));
            QVERIFY(form->EdtMailerPath->text().isEmpty());
            QVERIFY(!form->EdtMailerPath->isEnabled());
            QVERIFY(!form->LblMailerPath->isEnabled());
            QVERIFY(!form->BtnBrowseMailer->isEnabled());
            QVERIFY(!form->ChkUpdateDLC->isChecked());
            QVERIFY(!form->ChkUpdateDLC->isEnabled());
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));
            // The new object stands in the old one's place, with its name, path and cut size.
            QCOMPARE(form->EditedLog(), &f.Frame->Logs[0]);
            QCOMPARE(int(f.Frame->Logs[0].Style), int(lsOther));
            QCOMPARE(f.Frame->Logs[0].Name, std::string("Station"));
            QCOMPARE(f.Frame->Logs[0].CutSize, 64);
            QCOMPARE(form->EdtCutSize->text(), QString("64"));
        });
        QVERIFY(&f.Frame->Logs[0] != before);
        QVERIFY(!f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
        // The menu entry finds the log by its position: it opens the new object.
        f.Frame->findChild<QMenu*>("LogsMenu")->actions()[0]->trigger();
        QCOMPARE(f.Frame->LogWindows().size(), 1);
        QCOMPARE(f.Frame->LogWindows()[0]->Log, &f.Frame->Logs[0]);
        QVERIFY(f.Messages->empty());
    }

    void anOpenLogKeepsItsStyleAndIsNotDeleted()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Bink", lsGenericBink, LogFile.toStdString());
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->findChild<QMenu*>("LogsMenu")->actions()[0]->trigger();
        QCOMPARE(f.Frame->LogWindows().size(), 1);
        TLog* log = &f.Frame->Logs[0];
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            form->LbxLogs->setCurrentRow(0);
            ChooseStyle(form, "T-mail");
            QCOMPARE(*f.Messages, std::vector<std::string>{"This log is open now"});
            QCOMPARE(form->CmbStyle->currentText(), QString("Generic Bink-style"));
            QCOMPARE(&f.Frame->Logs[0], log);
            QCOMPARE(int(log->Style), int(lsGenericBink));
            QVERIFY(!form->EdtMailerPath->isEnabled());

            form->BtnDelete->click();
            QCOMPARE(f.Messages->size(), std::size_t(2));
            QCOMPARE(f.Messages->back(), std::string("This log is open now"));
            QCOMPARE(ListNames(form), QStringList{"Bink"});
            QCOMPARE(form->EditedLog(), log);
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(1));

            // A renamed open log's window shows the new name.
            Retype(form->EdtName, "Bink box");
        });
        QCOMPARE(f.Frame->LogWindows()[0]->windowTitle(), QString("Bink box"));
        QVERIFY(LogsMenuShown(*f.Frame));
    }

    void deletingTheOnlyLogEmptiesEverything()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Only", lsBrake, LogFile.toStdString());
            reg.WriteString("Log1", "MailerPath", Dir.path().toStdString());
            reg.WriteBool("Only.SessList", "Open", true);
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(!HintShown(*f.Frame));
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            form->LbxLogs->setCurrentRow(0);
            QVERIFY(form->BtnLogOptions->isEnabled());
            form->BtnDelete->click();
            QCOMPARE(form->LbxLogs->count(), 0);
            QVERIFY(!form->EditedLog());
            for (QLineEdit* e : {form->EdtName, form->EdtPath, form->EdtMailerPath, form->EdtCutSize}) {
                QVERIFY(e->text().isEmpty());
                QVERIFY(!e->isEnabled());
            }
            QCOMPARE(form->CmbStyle->currentIndex(), -1);
            QVERIFY(!form->CmbStyle->isEnabled());
            QVERIFY(!form->RadKBytes->isChecked() && !form->RadDays->isChecked());
            QVERIFY(!form->ChkAutoNew->isChecked() && !form->ChkAutoNew->isEnabled());
            QVERIFY(!form->ChkUpdateDLC->isEnabled() && !form->LblMailerPath->isEnabled());
            QVERIFY(!form->BtnLogOptions->isEnabled() && !form->BtnDelete->isEnabled());
            QVERIFY(!form->LblPathWarning->isVisibleTo(form));
            QCOMPARE(f.Frame->Logs.Count(), std::size_t(0));
        });
        QVERIFY(!LogsMenuShown(*f.Frame));
        QVERIFY(MenuCaptions(*f.Frame).isEmpty());
        QVERIFY(HintShown(*f.Frame));
        f.Frame->close();
        TQtSettingsStore reg(Ini);
        QCOMPARE(reg.ReadInteger("General", "NumLogs", -1), 0);
        QVERIFY(!reg.SectionExists("Log1"));
        QVERIFY(!reg.SectionExists("Only.SessList"));
    }

    void cutSizeTakesDigitsOnly()
    {
        {
            TQtSettingsStore reg(Ini);
            PutLog(reg, 1, "Cut", lsOther, LogFile.toStdString());
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            form->LbxLogs->setCurrentRow(0);
            TLog& log = f.Frame->Logs[0];
            QCOMPARE(form->EdtCutSize->text(), QString("0"));
            Retype(form->EdtCutSize, "1a2-3 ");
            QCOMPARE(form->EdtCutSize->text(), QString("123"));
            QCOMPARE(log.CutSize, 123);
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(form->EdtCutSize, Qt::Key_Backspace);
            QVERIFY(form->EdtCutSize->text().isEmpty());
            QCOMPARE(log.CutSize, 0);
            // A number the setting cannot hold is swallowed at the digit that would overflow it.
            QTest::keyClicks(form->EdtCutSize, "21474836479");
            QCOMPARE(form->EdtCutSize->text(), QString("2147483647"));
            QCOMPARE(log.CutSize, 2147483647);
            // Pasted text that is not all digits does not get in.
            QApplication::clipboard()->setText("12 KB");
            form->EdtCutSize->selectAll();
            form->EdtCutSize->paste();
            QCOMPARE(form->EdtCutSize->text(), QString("2147483647"));

            form->RadDays->click();
            QCOMPARE(int(log.CutMode), 1);
            form->RadKBytes->click();
            QCOMPARE(int(log.CutMode), 0);
            form->ChkAutoNew->click();
            QVERIFY(log.AutoNew);
            Retype(form->EdtPath, "/nowhere/x.log");
            QCOMPARE(log.Path, std::string("/nowhere/x.log"));
        });
    }

    void warningIconsTellWrongPaths()
    {
        const QString mailer = Dir.filePath("mailer");
        QVERIFY(QDir().mkpath(mailer + "/CFG"));
        TFrameFixture f(Ini);
        f.Frame->show();
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            form->BtnNew->click();
            QVERIFY(form->LblPathWarning->isVisibleTo(form));
            QCOMPARE(form->LblPathWarning->toolTip(), QString("No log file given"));
            QVERIFY(!form->LblPathWarning->pixmap().isNull());
            Retype(form->EdtPath, Dir.filePath("missing.log"));
            QCOMPARE(form->LblPathWarning->toolTip(), QString("No file at this path"));
            Retype(form->EdtPath, mailer);
            QCOMPARE(form->LblPathWarning->toolTip(), QString("This is a folder, not a log file"));
            Retype(form->EdtPath, LogFile);
            QVERIFY(!form->LblPathWarning->isVisibleTo(form));
            // Nothing is refused: the path is kept whatever the warning says.
            Retype(form->EdtPath, Dir.filePath("later.log"));
            QCOMPARE(f.Frame->Logs[0].Path, Dir.filePath("later.log").toStdString());

            // Style Other has no mailer folder to check.
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));
            ChooseStyle(form, "T-mail");
            QCOMPARE(form->LblMailerWarning->toolTip(), QString("No mailer folder given: t-mail.ctl cannot be found"));
            Retype(form->EdtMailerPath, mailer + "/none");
            QCOMPARE(form->LblMailerWarning->toolTip(), QString("No folder at this path"));
            Retype(form->EdtMailerPath, mailer);
            QCOMPARE(form->LblMailerWarning->toolTip(),
                     QString("The folder holds no t-mail.ctl, the mailer's configuration file"));
            // Found without regard to case, as the analysis finds it.
            WriteBytes(mailer + "/T-Mail.CTL", "Address 2:5020/9999\n");
            Retype(form->EdtMailerPath, mailer + "/");
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));

            // Each style looks for its own file, SF-Mail's in the folder below.
            ChooseStyle(form, "SF-Mail");
            QCOMPARE(form->EdtMailerPath->text(), mailer + "/");
            QCOMPARE(form->LblMailerWarning->toolTip(),
                     QString("The folder holds no cfg\\sf-mail.cfg, the mailer's configuration file"));
            WriteBytes(mailer + "/CFG/SF-Mail.cfg", "Address 2:5020/9999\n");
            Retype(form->EdtMailerPath, mailer);
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));
            ChooseStyle(form, "Brake!");
            Retype(form->EdtMailerPath, mailer);
            QVERIFY(form->LblMailerWarning->toolTip().contains("brake!.ctl"));
            // Argus reads no configuration: no folder is wrong for it.
            ChooseStyle(form, "Argus");
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));

            // The browse buttons fill the fields through the toolkit's dialogs.
            WhenDialogShows<QFileDialog>([&](QFileDialog* d) {
                QCOMPARE(d->windowTitle(), QString("Select file"));
                QCOMPARE(d->nameFilters(), (QStringList{"Log Files (*.log)", "All Files (*)"}));
                d->selectFile(LogFile);
                static_cast<QDialog*>(d)->accept();  // QFileDialog's own accept checks the choice
            });
            form->BtnBrowsePath->click();
            QCOMPARE(form->EdtPath->text(), LogFile);
            QCOMPARE(f.Frame->Logs[0].Path, LogFile.toStdString());
            QVERIFY(!form->LblPathWarning->isVisibleTo(form));
            ChooseStyle(form, "T-mail");
            WhenDialogShows<QFileDialog>([&](QFileDialog* d) {
                QCOMPARE(d->windowTitle(), QString("Select directory"));
                d->selectFile(mailer);
                static_cast<QDialog*>(d)->accept();  // QFileDialog's own accept checks the choice
            });
            form->BtnBrowseMailer->click();
            QCOMPARE(form->EdtMailerPath->text(), mailer);
            QCOMPARE(dynamic_cast<TMailerLog&>(f.Frame->Logs[0]).MailerPath, mailer.toStdString());
            QVERIFY(!form->LblMailerWarning->isVisibleTo(form));
        });
    }

    void logsBuiltInTheDialogComeBackAfterARestart()
    {
        const QString tmailDir = Dir.filePath("t-mail");
        const QString brakeDir = Dir.filePath("brake");
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
                form->BtnNew->click();
                QTest::keyClicks(form->EdtName, "My T-Mail");
                ChooseStyle(form, "T-mail");
                Retype(form->EdtPath, tmailDir + "/t-mail.log");
                Retype(form->EdtMailerPath, tmailDir);
                form->ChkAutoNew->click();
                Retype(form->EdtCutSize, "512");
                form->RadDays->click();
                form->ChkUpdateDLC->click();

                form->BtnNew->click();
                QTest::keyClicks(form->EdtName, "Brake box");
                ChooseStyle(form, "Brake!");
                Retype(form->EdtPath, brakeDir + "/brake.log");
                Retype(form->EdtMailerPath, brakeDir);
                QVERIFY(form->BtnLogOptions->isEnabled());
                WhenDialogShows<TBrakeOptionsForm>([](TBrakeOptionsForm* o) {
                    o->Items->button(1)->click();
                    o->BtnOK->click();
                });
                form->BtnLogOptions->click();
                QCOMPARE(dynamic_cast<TBrakeLog&>(f.Frame->Logs[1]).BrkVersion, 703);

                form->BtnNew->click();
                QTest::keyClicks(form->EdtName, "Plain");
                Retype(form->EdtPath, LogFile);
            });
            f.Frame->close();
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QCOMPARE(f.Frame->Logs.Count(), std::size_t(3));
        QCOMPARE(MenuCaptions(*f.Frame), (QStringList{"My T-Mail", "Brake box", "Plain"}));
        const auto& tmail = dynamic_cast<const TMailerLog&>(f.Frame->Logs[0]);
        QCOMPARE(int(tmail.Style), int(lsTMail));
        QCOMPARE(tmail.Path, (tmailDir + "/t-mail.log").toStdString());
        QCOMPARE(tmail.MailerPath, tmailDir.toStdString());
        QVERIFY(tmail.AutoNew);
        QCOMPARE(tmail.CutSize, 512);
        QCOMPARE(int(tmail.CutMode), 1);
        QVERIFY(tmail.UpdateDLC);
        QVERIFY(tmail.Highlight);
        const auto& brake = dynamic_cast<const TBrakeLog&>(f.Frame->Logs[1]);
        QCOMPARE(brake.Name, std::string("Brake box"));
        QCOMPARE(brake.Path, (brakeDir + "/brake.log").toStdString());
        QCOMPARE(brake.MailerPath, brakeDir.toStdString());
        QCOMPARE(brake.BrkVersion, 703);
        QVERIFY(!brake.AutoNew);
        QCOMPARE(brake.CutSize, 0);
        QVERIFY(!brake.UpdateDLC);
        QCOMPARE(int(f.Frame->Logs[2].Style), int(lsOther));
        QCOMPARE(f.Frame->Logs[2].Path, LogFile.toStdString());
        QVERIFY(f.Frame->findChild<QMenu*>("TMailMenu")->menuAction()->isVisible());
        QVERIFY(!HintShown(*f.Frame));
        // And the dialog shows them as they were left.
        WithLogsDialog(*f.Frame, [&](TLogSetupForm* form) {
            QCOMPARE(ListNames(form), (QStringList{"My T-Mail", "Brake box", "Plain"}));
            form->LbxLogs->setCurrentRow(1);
            QCOMPARE(form->CmbStyle->currentText(), QString("Brake!"));
            QCOMPARE(form->EdtMailerPath->text(), brakeDir);
            form->LbxLogs->setCurrentRow(0);
            QCOMPARE(form->EdtCutSize->text(), QString("512"));
            QVERIFY(form->RadDays->isChecked());
            QVERIFY(form->ChkAutoNew->isChecked() && form->ChkUpdateDLC->isChecked());
            QVERIFY(!form->BtnLogOptions->isEnabled());
        });
    }

    void altOThenLOpensTheLogsDialog()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(QTest::qWaitForWindowActive(f.Frame.get()));
        QString title;
        bool modal = false;
        WhenDialogShows<TLogSetupForm>([&](TLogSetupForm* form) {
            title = form->windowTitle();
            modal = form->isModal();
            form->BtnOK->click();
        });
        // The Options menu's access key, then the item's.
        QTest::keyClick(f.Frame.get(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* options = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(options);
        QCOMPARE(options->objectName(), QString("OptionsMenu"));
        QTest::keyClick(options, Qt::Key_L);
        QTRY_COMPARE(title, QString("Logs"));
        QVERIFY(modal);
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    QString LogFile;
    int Run = 0;
};

QTEST_MAIN(TestLogSetup)
#include "tst_logsetup.moc"
