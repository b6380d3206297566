#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "demodesktop.h"
#include "log/mailerlog.h"
#include "viewer/logviewer.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"

// The session list of the demo's T-Mail log: it opens, follows the caret and writes its report.
class TestDemoSessList : public QObject
{
    Q_OBJECT
private slots:
    void sessionListOfTheDemoLog()
    {
        TDemoDesktop demo;
        QVERIFY2(demo.Open(), qPrintable(demo.Error));
        TFrameFixture& f = *demo.F;
        QTRY_COMPARE(f.Frame->LogWindows().size(), 1);
        TChildForm* w = f.Frame->LogWindows().front();
        QVERIFY(w->SessListBtn->isEnabled());
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->Model->rowCount(), 1402);
        QCOMPARE(list->Model->columnCount(), 5);
        QCOMPARE(list->Columns.NumFile, 5);

        const auto* mailer = static_cast<const tarvex::TMailerLog*>(w->Log);
        const tarvex::TSess& s = mailer->Session(700);
        w->GotoLine(s.StartLine);
        QCOMPARE(list->Grid->currentIndex().row(), 700);

        const QString rep = demo.Dir.filePath("demo.rep");
        list->AskReportFile = [rep] { return rep; };
        list->ReportBtn->click();
        const QByteArray bytes = ReadBytes(rep);
        QVERIFY(bytes.startsWith("\xDA"));
        // A heading row, the line under it, 1402 rows, a line per later day, two borders.
        QCOMPARE(bytes.count("\r\n"), 1 + 1 + 1402 + 21 + 2);
        f.Frame->close();
    }
};

QTEST_MAIN(TestDemoSessList)
#include "tst_demosesslist.moc"
