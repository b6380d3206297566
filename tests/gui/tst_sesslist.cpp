#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QClipboard>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include "app/childform.h"
#include "app/frameform.h"
#include "common/grids.h"
#include "frametest.h"
#include "guitestutil.h"
#include "teststyle.h"
#include "viewer/logviewer.h"
#include "views/plaincelldelegate.h"
#include "views/sesslistform.h"
#include "views/sesslistmodel.h"
#include "views/slsetupform.h"

using namespace tarvex;
using tarvex::testing::TTestStyle;

namespace {

// Two days; sessions start at lines 2 (a failed call out), 5 (in from 2:5020/52) and 9 (in
// from 2:5030/15, the first of the second day).
QByteArray TwoDays()
{
    return "01/03 10:00:00 DIAL 2:5020/1\n"
           "01/03 10:00:05 CONNECT OUT\n"
           "01/03 10:00:20 FAIL\n"
           "\n"
           "01/03 11:00:00 CONNECT IN\n"
           "01/03 11:00:01 ADDR 2:5020/52\n"
           "01/03 11:01:31 END 100 200\n"
           "02/03 09:00:00 DIAL 2:5030/15\n"
           "02/03 09:00:05 CONNECT IN\n"
           "02/03 09:00:06 ADDR 2:5030/15\n"
           "02/03 09:00:16 END 300 400\n";
}

// The colours a delegate paints a cell in when it is selected and current.
QSet<QRgb> SelectedCellColours(const QAbstractItemDelegate& delegate, const QModelIndex& index, const QPalette& palette)
{
    QImage img(160, 24, QImage::Format_RGB32);
    QStyleOptionViewItem option;
    option.rect = img.rect();
    option.palette = palette;
    option.state = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Active | QStyle::State_Enabled;
    QPainter p(&img);
    delegate.paint(&p, option, index);
    p.end();
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y));
    return colours;
}

}  // namespace

class TestSessList : public QObject, protected TFrameTest
{
    Q_OBJECT
private slots:
    void init() { StartFrame("s"); }
    void cleanup() { StopFrame(); }

    void failedOutgoingSessionBadPasswordAndHighlight()
    {
        ISettingsStore& store = F->Frame->Store();
        const char* section = "test.SessList";
        store.WriteInteger(section, "NumColumns", 4);
        const int types[] = {slAddress, slSystem, slCPS, slPwd};
        for (int i = 0; i < 4; ++i) {
            const std::string p = "Column" + std::to_string(i);
            store.WriteInteger(section, p + ".ColType", types[i]);
            store.WriteString(section, p + ".Heading", SessColumnNames[static_cast<std::size_t>(types[i])]);
        }
        store.WriteInteger(section, "HighlightCnt", 1);
        store.WriteString(section, "Highlight0", "2:5020/52");
        TChildForm* w = OpenLog();
        Log->Sessions[1].Flags |= sfBadPassword;
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        QVERIFY(list && list->isVisible());
        QVERIFY(list->windowTitle().startsWith("Session list"));
        QVERIFY(list->isWindow());
        TSessListModel* m = list->Model;
        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QString("Address"));
        QCOMPARE(m->CellText(0, 0), QString("Out FAILED"));
        QCOMPARE(m->CellText(0, 1), QString());
        QCOMPARE(m->CellText(0, 2), QString());
        QCOMPARE(m->CellText(1, 0), QString("In 2:5020/52"));
        QCOMPARE(m->CellText(1, 3), QString("BAD"));

        const TLogColors& colors = F->Frame->LogColors;
        const QPalette pal = list->Grid->palette();
        TSessListDelegate* d = list->Delegate;
        QCOMPARE(d->TextColor(m->index(0, 0), false, pal), colors.Color(TColorItem::TLBad));
        QCOMPARE(d->TextColor(m->index(1, 3), false, pal), colors.Color(TColorItem::Errors));
        QCOMPARE(d->TextColor(m->index(1, 0), false, pal), colors.Color(TColorItem::TLInc));
        QCOMPARE(d->TextColor(m->index(1, 0), true, pal), pal.color(QPalette::HighlightedText));
        QCOMPARE(d->TextColor(m->index(1, 3), true, pal), pal.color(QPalette::HighlightedText));
        QVERIFY(d->CellFont(m->index(1, 0), list->font()).bold());
        QVERIFY(!d->CellFont(m->index(2, 0), list->font()).bold());
        QVERIFY(m->data(m->index(2, 0), TSessListModel::FlagsRole).toUInt() & sfFirstOfDay);
        QCOMPARE(list->Grid->verticalHeader()->defaultSectionSize(), FontHeight(list->Grid->font()) + 2);
        list->grab();  // paints every visible cell through the delegate
    }

    void selectedCellsAreDrawnInTheSelectionTextColour()
    {
        // A session colour equal to the selection's would vanish in the current cell.
        QPalette pal;
        pal.setColor(QPalette::Highlight, Qt::blue);
        pal.setColor(QPalette::HighlightedText, Qt::white);
        F->Frame->LogColors.Values[static_cast<std::size_t>(TColorItem::TLInc)] = 0xFF0000;  // blue, as 0xBBGGRR
        TChildForm* w = OpenLog();
        w->SessListBtn->click();
        QVERIFY(w->SessList);
        const QSet<QRgb> session = SelectedCellColours(*w->SessList->Delegate, w->SessList->Model->index(1, 0), pal);
        QVERIFY(session.contains(QColor(Qt::white).rgb()));

        QStandardItemModel failed(1, 1);
        failed.setData(failed.index(0, 0), "2:5020/52 FILES.LST Fail");
        failed.setData(failed.index(0, 0), QColor(Qt::red), Qt::ForegroundRole);
        const QSet<QRgb> plain = SelectedCellColours(TPlainCellDelegate(), failed.index(0, 0), pal);
        QVERIFY(plain.contains(QColor(Qt::white).rgb()));
        QVERIFY(!plain.contains(QColor(Qt::red).rgb()));
    }

    void navigationBothWays()
    {
        TChildForm* w = OpenLog();
        w->GotoLine(6);
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        QVERIFY(list);
        // Opened on the first session that starts after the caret line.
        QCOMPARE(list->Grid->currentIndex().row(), 2);
        w->GotoLine(5);
        QCOMPARE(list->Grid->currentIndex().row(), 1);

        QTableView* g = list->Grid;
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, g->visualRect(list->Model->index(0, 0)).center());
        QCOMPARE(w->Viewer()->CaretLine(), 2);
        QCOMPARE(g->currentIndex().row(), 0);
        QVERIFY(!list->Navigating);

        g->setCurrentIndex(list->Model->index(2, 0));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(w->Viewer()->CaretLine(), 9);
        QTest::keyClick(g, Qt::Key_Return, Qt::ShiftModifier);  // with a modifier: nothing
        QCOMPARE(w->Viewer()->CaretLine(), 9);
        QTest::keyClick(g, Qt::Key_Escape);
        QTRY_VERIFY(!w->SessList);
    }

    void enterWithNoSessionRowDoesNothing()
    {
        TChildForm* w = OpenLog();
        w->GotoLine(10);  // after the last session's start: no row is selected
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        QVERIFY(!list->Grid->currentIndex().isValid());
        QTest::keyClick(list->Grid, Qt::Key_Enter);
        QCOMPARE(w->Viewer()->CaretLine(), 10);
    }

    void reportNeedsFileColumnsAndCopyTakesGridOrder()
    {
        TChildForm* w = OpenLog();
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        list->AskReportFile = [] { return QString(); };
        list->ReportBtn->click();
        QCOMPARE(F->Messages->back(), std::string("No file columns defined!"));

        list->Columns.Items[1]->ShowFile = true;  // Address
        list->Columns.Items[1]->FileWidth = 12;
        list->Columns.CountVisible();
        const QString rep = Dir.filePath("s.rep");
        list->AskReportFile = [rep] { return rep; };
        list->ReportBtn->click();
        const QByteArray bytes = ReadBytes(rep);
        QVERIFY(bytes.startsWith("\xDA\xC4"));
        QVERIFY(bytes.contains("\xB3Out FAILED  \xB3\r\n\xB3In 2:5020/52\xB3\r\n\xC3"));
        QVERIFY(bytes.endsWith("\xD9\r\n"));

        list->Grid->selectRow(0);
        QTest::keyClick(list->Grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("01/03 10:00:05\tOut FAILED\t\n"));
    }

    void columnDragAndWidthsAreKept()
    {
        TChildForm* w = OpenLog();
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        list->Columns.Items[0]->ShowScr = false;  // Time: file only now
        list->Columns.Items[0]->ShowFile = true;
        list->Columns.CountVisible();
        list->FillGrid();
        QHeaderView* h = list->Grid->horizontalHeader();
        QCOMPARE(h->count(), 2);
        h->resizeSection(0, 77);
        h->moveSection(1, 0);  // System before Address
        QCOMPARE(list->Columns.Items[0]->Heading, std::string("Time"));
        QCOMPARE(list->Columns.Items[1]->Heading, std::string("System"));
        QCOMPARE(list->Columns.Items[2]->Heading, std::string("Address"));
        QCOMPARE(list->Model->headerData(0, Qt::Horizontal).toString(), QString("System"));
        QCOMPARE(h->logicalIndex(0), 0);
        QCOMPARE(h->sectionSize(1), 77);  // Address kept the width it was given

        list->close();
        QTRY_VERIFY(!w->SessList);
        const ISettingsStore& store = F->Frame->Store();
        QCOMPARE(store.ReadString("test.SessList", "Column2.Heading", ""), std::string("Address"));
        QCOMPARE(store.ReadInteger("test.SessList", "Column2.ScrWidth", 0), 77);
        QCOMPARE(store.ReadBool("test.SessList", "Column0.ShowScr", true), false);
    }

    void setupDialogOkAndCancel()
    {
        TChildForm* w = OpenLog();
        w->SessListBtn->click();
        TSessListForm* list = w->SessList;
        list->ExecSetup = [](TSLSetupForm& d) {
            d.BtnAdd->click();
            d.CmbType->setCurrentIndex(slCPS);
            emit d.CmbType->activated(slCPS);
            d.ChkFile->click();
            d.SetAddressLines({"2:5030/15", ""});
            d.SetTemplates("head.tpl", "");
            return int(QDialog::Accepted);
        };
        list->SetupBtn->click();
        QCOMPARE(list->Columns.Items.size(), std::size_t(4));
        QCOMPARE(list->Columns.Items[3]->Heading, std::string("CPS"));
        QCOMPARE(list->Columns.NumFile, 1);
        QCOMPARE(list->Model->columnCount(), 4);
        QCOMPARE(list->Highlight.IndexOf(TFidoAddr::Parse("2:5030/15")), 0);
        QCOMPARE(list->RepHeader, std::string("head.tpl"));

        list->ExecSetup = [](TSLSetupForm& d) {
            d.LbxColumns->setCurrentRow(0);
            d.BtnRemove->click();
            d.SetAddressLines({});
            return int(QDialog::Rejected);
        };
        list->SetupBtn->click();
        QCOMPARE(list->Columns.Items.size(), std::size_t(4));
        QCOMPARE(list->Highlight.Count(), std::size_t(1));

        // A line that is no address: the ones before it stay, the templates are not taken.
        list->ExecSetup = [](TSLSetupForm& d) {
            d.SetAddressLines({"1:1/1", "nonsense", "2:2/2"});
            d.SetTemplates("other.tpl", "");
            return int(QDialog::Accepted);
        };
        list->SetupBtn->click();
        QCOMPARE(list->Highlight.Count(), std::size_t(1));
        QCOMPARE(list->RepHeader, std::string("head.tpl"));
        QVERIFY(!F->Messages->empty());
    }

    void reopensWithTheDesktop()
    {
        F->Frame->AppSettings.SaveDesktop = true;
        TChildForm* w = OpenLog();
        w->SessListBtn->click();
        w->SessList->resize(333, 222);
        w->SessList->move(40, 50);
        w->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(Log));
        const ISettingsStore& store = F->Frame->Store();
        QVERIFY(store.ReadBool("test.SessList", "Open", false));
        QCOMPARE(store.ReadInteger("test.SessList", "Width", 0), 333);

        F->Frame->OpenLog(Log);
        TChildForm* again = F->Frame->WindowOfLog(Log);
        QVERIFY(again && again->SessList);
        QVERIFY(again->SessList->isVisible());
        QCOMPARE(again->SessList->width(), 333);
        QCOMPARE(again->SessList->height(), 222);
        QCOMPARE(again->SessList->pos(), QPoint(40, 50));

        F->Frame->AppSettings.SaveDesktop = false;
        again->SessList->close();
        again->close();
        QTRY_VERIFY(!F->Frame->WindowOfLog(Log));
        QVERIFY(!F->Frame->Store().ReadBool("test.SessList", "Open", true));
    }

private:
    TChildForm* OpenLog()
    {
        const QString path = Dir.filePath(QString("two%1.log").arg(Run));
        WriteBytes(path, TwoDays());
        auto log = std::make_unique<TTestStyle>();
        log->Name = "test";
        log->Path = path.toStdString();
        Log = log.get();
        return AddAndOpen(std::move(log));
    }

    TTestStyle* Log = nullptr;
};

QTEST_MAIN(TestSessList)
#include "tst_sesslist.moc"
