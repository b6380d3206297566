// Opening a log that is not configured from the main window: File > Open log... and a file
// dropped on the window; and the first-run line of the empty main window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QtTest>
#include <memory>

#include "app/childform.h"
#include "app/frameform.h"
#include "guitestutil.h"
#include "styles/logfactory.h"

using namespace tarvex;

namespace {

QLabel* Hint(TFrameForm& frame) { return frame.findChild<QLabel*>("EmptyAreaHint"); }

QMimeData* UrlsOf(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
    data->setUrls(urls);
    return data;
}

// Drags the files over the main window and drops them; returns whether the window took the drag.
bool Drop(TFrameForm& frame, const QStringList& paths)
{
    std::unique_ptr<QMimeData> data(UrlsOf(paths));
    const QPoint at = frame.mdiArea()->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    return drop.isAccepted();
}

}  // namespace

class TestOpenLog : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(Dir.isValid());
        Ini = Dir.filePath(QString("settings%1.ini").arg(++Run));
        LogFile = Dir.filePath("station.log");
        WriteBytes(LogFile, "+ 01 Mar 10:00:00 BINK up\n+ 02 Mar 10:01:00 BINK down\n");
    }

    void theFileMenuOpensALogAboveExit()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        const QList<QAction*> file = f.Frame->menuBar()->actions().constFirst()->menu()->actions();
        QCOMPARE(file.size(), 2);
        QCOMPARE(file[0]->text(), QString("&Open log..."));
        QCOMPARE(file[1]->text(), QString("E&xit"));

        f.Frame->UnconfiguredStyle = lsGenericBink;
        QString title;
        QStringList filters;
        WhenDialogShows<QFileDialog>([&](QFileDialog* d) {
            title = d->windowTitle();
            filters = d->nameFilters();
            d->selectFile(LogFile);
            static_cast<QDialog*>(d)->accept();
        });
        f.Frame->findChild<QAction*>("OpenLogItem")->trigger();
        QCOMPARE(title, QString("Open log"));
        QCOMPARE(filters, (QStringList{"Log Files (*.log)", "All Files (*)"}));
        QCOMPARE(f.Frame->LogWindows().size(), 1);
        TChildForm* w = f.Frame->LogWindows()[0];
        QCOMPARE(w->windowTitle(), QString("station.log"));
        QCOMPARE(int(w->Log->Style), int(lsGenericBink));
        QCOMPARE(w->Log->Path, LogFile.toStdString());
        // It is not configured: the Logs menu and the settings stay as they were.
        QCOMPARE(f.Frame->Logs.Count(), std::size_t(0));

        // Cancel opens nothing.
        WhenDialogShows<QFileDialog>([](QFileDialog* d) { d->reject(); });
        f.Frame->findChild<QAction*>("OpenLogItem")->trigger();
        QCOMPARE(f.Frame->LogWindows().size(), 1);
        QVERIFY(f.Messages->empty());
    }

    void aDroppedFileOpens()
    {
        TFrameFixture f(Ini);
        f.Frame->show();
        // Nothing to open: folders and remote files are not taken.
        QVERIFY(!Drop(*f.Frame, {Dir.path()}));
        QVERIFY(!Drop(*f.Frame, {"https://example.invalid/x.log"}));
        QVERIFY(!Drop(*f.Frame, {Dir.filePath("gone.log")}));

        const QString second = Dir.filePath("second.log");
        WriteBytes(second, "just text\n");
        QVERIFY(Drop(*f.Frame, {LogFile, Dir.path(), second}));
        QTRY_COMPARE(f.Frame->LogWindows().size(), 2);
        QStringList titles;
        for (TChildForm* w : f.Frame->LogWindows())
            titles << w->windowTitle();
        titles.sort();
        QCOMPARE(titles, (QStringList{"second.log", "station.log"}));
        QCOMPARE(int(f.Frame->LogWindows()[0]->Log->Style), int(lsOther));

        // Dropped again, a file already open is brought to the front, not opened twice.
        QVERIFY(Drop(*f.Frame, {LogFile}));
        QTest::qWait(0);
        QCOMPARE(f.Frame->LogWindows().size(), 2);
        QVERIFY(f.Messages->empty());
    }

    void theEmptyAreaTellsWhereLogsAreSetUp()
    {
        {
            TFrameFixture f(Ini);
            f.Frame->show();
            QLabel* hint = Hint(*f.Frame);
            QVERIFY(hint);
            QVERIFY(hint->isVisible());
            QCOMPARE(hint->text(), QString::fromUtf8("No logs configured \u2014 Options > Logs... to add one"));
            QCOMPARE(hint->parentWidget(), f.Frame->mdiArea()->viewport());
            // A log window opened without configuring it covers the area: the line gets out of
            // its way, and comes back when the window closes.
            f.Frame->OpenUnconfigured(LogFile.toStdString(), lsOther);
            QTRY_VERIFY(!hint->isVisible());
            f.Frame->LogWindows()[0]->close();
            QTRY_VERIFY(hint->isVisible());
            // A configured log takes it away.
            auto log = CreateLog(lsOther);
            log->Path = LogFile.toStdString();
            f.Frame->AddLogMenuItem(std::move(log));
            f.Frame->UpdateMenus();
            QVERIFY(!hint->isVisible());
            f.Frame->close();
        }
        TFrameFixture f(Ini);
        f.Frame->show();
        QVERIFY(!Hint(*f.Frame)->isVisible());
    }

private:
    QTemporaryDir Dir;
    QString Ini;
    QString LogFile;
    int Run = 0;
};

QTEST_MAIN(TestOpenLog)
#include "tst_openlog.moc"
