#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "views/slsetupform.h"

using tarvex::TColumn;

namespace {

QStringList Items(const QListWidget* l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

}  // namespace

class TestSLSetupForm : public QObject
{
    Q_OBJECT
private slots:
    void opensOnColumnsWithNothingSelected()
    {
        TSLSetupForm d("Session list setup", Names(), nullptr);
        d.SetColumns(Three());
        QCOMPARE(d.windowTitle(), QString("Session list setup"));
        QCOMPARE(d.Pages->tabText(0), QString("Columns"));
        QCOMPARE(d.Pages->currentIndex(), 0);
        QCOMPARE(Items(d.LbxColumns), (QStringList{"0 - A", "1 - B", "2 - C"}));
        QVERIFY(!d.EdtHeading->isEnabled() && !d.BtnRemove->isEnabled());
        QCOMPARE(d.CmbType->currentIndex(), -1);
        QVERIFY(!d.Modified);
    }

    void addedColumnTakesTheTypeNameAsHeading()
    {
        TSLSetupForm d("Session list setup", Names(), nullptr);
        d.SetColumns(Three());
        d.BtnAdd->click();
        QCOMPARE(d.LbxColumns->item(3)->text(), QString("3 - "));
        QVERIFY(d.EdtHeading->isEnabled());
        QCOMPARE(d.EdtScrWidth->text(), QString("100"));
        QCOMPARE(d.EdtFileWidth->text(), QString("10"));
        d.CmbType->setCurrentIndex(11);
        emit d.CmbType->activated(11);
        QCOMPARE(d.LbxColumns->item(3)->text(), QString("3 - CPS"));
        const std::vector<TColumn> cols = d.Columns();
        QCOMPARE(cols.back().Heading, std::string("CPS"));
        QCOMPARE(cols.back().ColType, 11);
        QVERIFY(cols.back().ShowScr && !cols.back().ShowFile);
        QVERIFY(d.Modified);
    }

    void widthFieldsTakeDigitsOnly()
    {
        TSLSetupForm d("Session list setup", Names(), nullptr);
        d.SetColumns(Three());
        d.LbxColumns->setCurrentRow(1);
        QCOMPARE(d.EdtFileWidth->text(), QString("12"));
        QTest::keyClick(d.EdtFileWidth, Qt::Key_X);
        QCOMPARE(d.EdtFileWidth->text(), QString("12"));
        QVERIFY(!d.Modified);
        d.EdtFileWidth->selectAll();
        QTest::keyClick(d.EdtFileWidth, Qt::Key_Backspace);  // cleared: the width stays
        QCOMPARE(d.Columns()[1].FileWidth, 12);
        QTest::keyClicks(d.EdtFileWidth, "0");
        QCOMPARE(d.Columns()[1].FileWidth, 12);
        QTest::keyClicks(d.EdtFileWidth, "7");  // "07"
        QCOMPARE(d.Columns()[1].FileWidth, 7);
        QVERIFY(d.Modified);
    }

    void removedColumnsLeaveNumbersUntilADrag()
    {
        TSLSetupForm d("Session list setup", Names(), nullptr);
        d.SetColumns(Three());
        d.LbxColumns->setCurrentRow(1);
        d.BtnRemove->click();
        QCOMPARE(Items(d.LbxColumns), (QStringList{"0 - A", "2 - C"}));
        QVERIFY(!d.BtnRemove->isEnabled());
        // What a drag does to the list's model: C before A.
        QVERIFY(d.LbxColumns->model()->moveRow(QModelIndex(), 1, QModelIndex(), 0));
        QCOMPARE(Items(d.LbxColumns), (QStringList{"0 - C", "1 - A"}));
        QCOMPARE(d.Columns()[0].Heading, std::string("C"));
        QVERIFY(d.Modified);
    }

    void untouchedColumnsPageLeavesModifiedFalse()
    {
        TSLSetupForm d("Session list setup", Names(), nullptr);
        d.SetColumns(Three());
        d.SetAddressLines({"2:5020/52"});
        d.EdtHighlight->setPlainText("2:5020/52\n2:5030/15\n");
        d.EdtHeader->setText("h.tpl");
        QVERIFY(!d.Modified);
        QCOMPARE(d.AddressLines(), (QStringList{"2:5020/52", "2:5030/15"}));
        QCOMPARE(d.HeaderFile(), QString("h.tpl"));
    }

private:
    static QStringList Names()
    {
        return {"Time", "Length", "Address", "System", "SysOp", "Pwd", "Rslt",
                "Files sent", "Files recd", "Bytes sent", "Bytes recd", "CPS"};
    }
    std::vector<const TColumn*> Three()
    {
        Cols.clear();
        for (const char* h : {"A", "B", "C"}) {
            TColumn c;
            c.Heading = h;
            c.FileWidth = 12;
            Cols.push_back(c);
        }
        return {&Cols[0], &Cols[1], &Cols[2]};
    }
    std::vector<TColumn> Cols;
};

QTEST_MAIN(TestSLSetupForm)
#include "tst_slsetupform.moc"
