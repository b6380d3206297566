#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "common/colortext.h"
#include "guitestutil.h"
#include "setup/colorsetupform.h"
#include "styles/logfactory.h"
#include "viewer/logviewer.h"

using namespace tarvex;

namespace {

constexpr int kCellBlue = 12, kCellWhite = 15, kCellNavy = 4, kCellBlack = 0;

void RunColors(TFrameForm& frame, const std::function<void(TColorSetupForm*)>& act)
{
    WhenDialogShows<TColorSetupForm>(act);
    frame.findChild<QAction*>("ColorsItem")->trigger();
}

void ChooseItem(TColorSetupForm* d, int item) { d->LbxColorItem->setCurrentRow(item); }

void ChooseCell(TColorSetupForm* d, int cell) { d->GrdColor->button(cell)->click(); }

}  // namespace

class TestColorSetup : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        Ini = Dir.filePath(QString("settings%1.ini").arg(++Run));
    }

    void itemsAndGrid()
    {
        TTestEnv env;
        TColorSetupForm d(env.Env);
        QCOMPARE(d.windowTitle(), QString("Colors Setup"));
        QStringList items;
        for (int i = 0; i < d.LbxColorItem->count(); ++i)
            items << d.LbxColorItem->item(i)->text();
        QCOMPARE(items, (QStringList{"Normal text", "Date & time", "Errors", "Important info", "File transfers",
                                     "Special", "Background", "Incoming session", "Outgoing session", "BBS session",
                                     "Failed session"}));
        QCOMPARE(d.GrdColor->buttons().size(), 16);
    }

    void choosingAnItemSelectsItsCellAndACellSetsItsColour()
    {
        TTestEnv env;
        TLogColors& colors = env.Colors;
        TColorSetupForm d(env.Env);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        // With no item chosen a cell changes nothing, even once the list has the focus.
        d.LbxColorItem->setFocus();
        ChooseCell(&d, kCellWhite);
        QCOMPARE(colors.Values, TLogColors::Defaults());

        ChooseItem(&d, 1);  // Date & time: clBlue
        QCOMPARE(d.SelectedCell(), kCellBlue);
        ChooseItem(&d, 6);  // Background: clSilver
        QCOMPARE(d.SelectedCell(), 8);
        ChooseCell(&d, kCellWhite);
        QCOMPARE(colors.Values[6], 0xFFFFFFu);  // at once
        ChooseItem(&d, 0);
        QCOMPARE(d.SelectedCell(), kCellBlack);
        ChooseItem(&d, 6);
        QCOMPARE(d.SelectedCell(), kCellWhite);
        // Keys move through the list the same way.
        QTest::keyClick(d.LbxColorItem, Qt::Key_Down);
        QCOMPARE(d.SelectedItem(), 7);
        QCOMPARE(d.SelectedCell(), 2);  // Incoming session: clGreen
    }

    void aColourNotInTheGridKeepsTheSelectionAndSurvivesOk()
    {
        {
            TQtSettingsStore reg(Ini);
            reg.WriteString("Colors", "Info", "$00123456");
            reg.WriteString("Colors", "Special", "clBtnFace");
        }
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            int afterInfo = -1, afterSpecial = -1;
            RunColors(*f.Frame, [&](TColorSetupForm* d) {
                ChooseItem(d, 8);  // Outgoing session: clBlue
                ChooseItem(d, 3);
                afterInfo = d->SelectedCell();
                ChooseItem(d, 5);
                afterSpecial = d->SelectedCell();
                d->BtnOK->click();
            });
            QCOMPARE(afterInfo, kCellBlue);
            QCOMPARE(afterSpecial, kCellBlue);
            QCOMPARE(f.Frame->LogColors.Values[3], 0x123456u);
            QCOMPARE(f.Frame->LogColors.Values[5], 0x8000000Fu);
            // ... until a cell is chosen for it.
            RunColors(*f.Frame, [&](TColorSetupForm* d) {
                ChooseItem(d, 3);
                ChooseCell(d, kCellNavy);
                d->BtnOK->click();
            });
            QCOMPARE(f.Frame->LogColors.Values[3], 0x800000u);
            f.Frame->close();
        }
        TQtSettingsStore reg(Ini);
        QCOMPARE(reg.ReadString("Colors", "Info", ""), std::string("clNavy"));
        QCOMPARE(reg.ReadString("Colors", "Special", ""), std::string("clBtnFace"));
    }

    void cancelRestoresAndOkReappliesToOpenWindows()
    {
        const QString path = Dir.filePath("other.log");
        WriteBytes(path, "12:00 a line\n");
        {
            TQtSettingsStore reg(Ini);
            reg.WriteString("Log1", "Name", "Other log");
            reg.WriteInteger("Log1", "Style", lsOther);
            reg.WriteString("Log1", "Path", path.toStdString());
            reg.WriteInteger("General", "NumLogs", 1);
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        f.Frame->OpenLog(&f.Frame->Logs[0]);
        TChildForm* w = f.Frame->WindowOfLog(&f.Frame->Logs[0]);
        QVERIFY(w);
        QCOMPARE(w->Viewer()->BackgroundColor(), QColor(0xC0, 0xC0, 0xC0));

        RunColors(*f.Frame, [](TColorSetupForm* d) {
            ChooseItem(d, 6);
            ChooseCell(d, kCellWhite);
            ChooseItem(d, 0);
            ChooseCell(d, kCellNavy);
            d->BtnCancel->click();
        });
        QCOMPARE(f.Frame->LogColors.Values, TLogColors::Defaults());
        QCOMPARE(w->Viewer()->BackgroundColor(), QColor(0xC0, 0xC0, 0xC0));

        RunColors(*f.Frame, [](TColorSetupForm* d) {
            ChooseItem(d, 6);
            ChooseCell(d, kCellWhite);
            ChooseItem(d, 0);
            ChooseCell(d, kCellNavy);
            d->BtnOK->click();
        });
        QCOMPARE(f.Frame->LogColors.Values[6], 0xFFFFFFu);
        QCOMPARE(w->Viewer()->BackgroundColor(), QColor(Qt::white));
        QCOMPARE(w->Viewer()->TextColor(), QColor(0, 0, 0x80));
        f.Frame->close();
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    int Run = 0;
};

QTEST_MAIN(TestColorSetup)
#include "tst_colorsetup.moc"
