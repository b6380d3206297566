#include <QMenuBar>
#include <QtTest>

#include "app/frameform.h"

class TestFrameForm : public QObject
{
    Q_OBJECT
private slots:
    void titleAndExit()
    {
        TFrameForm frame;
        frame.show();
        QCOMPARE(frame.windowTitle(), QString("Tarvex"));
        auto* exitAct = frame.findChild<QAction*>("ExitItem");
        QVERIFY(exitAct);
        exitAct->trigger();
        QTRY_VERIFY(!frame.isVisible());
    }
};

QTEST_MAIN(TestFrameForm)
#include "tst_frameform.moc"
