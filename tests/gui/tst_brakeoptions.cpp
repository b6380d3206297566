#include <QtTest>

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/qtuserinterface.h"
#include "guitestutil.h"
#include "parsers/brakelog.h"
#include "setup/brakeoptionsform.h"

class TestBrakeOptions : public QObject
{
    Q_OBJECT
private slots:
    void dialogShowsTheVersionAndSetsTheChosenOne()
    {
        TQtUserInterface ui;
        tarvex::TBrakeLog log;
        QString title, group;
        QStringList texts;
        int shown = -2;
        WhenDialogShows<TBrakeOptionsForm>([&](TBrakeOptionsForm* f) {
            title = f->windowTitle();
            group = f->RadMailerVersion->title();
            for (QAbstractButton* b : f->Items->buttons())
                texts << b->text();
            shown = f->ItemIndex();
            f->Items->button(1)->click();
            f->BtnOK->click();
        });
        log.EditOptions(ui);
        QCOMPARE(title, QString("Brake! log options"));
        QCOMPARE(group, QString("Mailer version"));
        QCOMPARE(texts, (QStringList{"701-702", "703-715"}));
        QCOMPARE(shown, 0);
        QCOMPARE(log.BrkVersion, 703);

        // Cancel changes nothing, whatever was chosen.
        WhenDialogShows<TBrakeOptionsForm>([&](TBrakeOptionsForm* f) {
            shown = f->ItemIndex();
            f->Items->button(0)->click();
            f->BtnCancel->click();
        });
        log.EditOptions(ui);
        QCOMPARE(shown, 1);
        QCOMPARE(log.BrkVersion, 703);

        // Another value shows neither item; OK with none chosen keeps it.
        log.BrkVersion = 712;
        WhenDialogShows<TBrakeOptionsForm>([&](TBrakeOptionsForm* f) {
            shown = f->ItemIndex();
            f->BtnOK->click();
        });
        log.EditOptions(ui);
        QCOMPARE(shown, -1);
        QCOMPARE(log.BrkVersion, 712);
    }
};

QTEST_MAIN(TestBrakeOptions)
#include "tst_brakeoptions.moc"
