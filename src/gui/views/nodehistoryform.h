#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/fidoaddr.h"
#include "report/addrlist.h"
#include "report/nodehistory.h"
#include "views/viewform.h"

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TDayChart;
class TNodeHistoryModel;
class TSLSetupForm;

namespace tarvex {
class TMailerLog;
}

// "Node history": one node on every day of the log it appears on, and its total, in a grid of
// user-defined columns under a chart of its sessions and bytes by day. Choosing a day (a row or
// a bar) takes the log window there. Its columns, report templates, placement and the node it
// shows live in the log's ".NodeHist" section.
class TNodeHistoryForm : public TViewForm
{
    Q_OBJECT
public:
    TNodeHistoryForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);

    // Shows the node's history in the host's log, and itself.
    void Open(const tarvex::TFidoAddr& addr);
    void DropRecords() override;
    void ShowRecords() override;
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;
    // Refills the grid from the column list (after setup, after a column was dragged).
    void FillGrid();

    void SetupBtnClick();
    void ReportBtnClick();
    std::vector<int> GridWidths() const;

    tarvex::TFidoAddr Addr;
    std::vector<tarvex::TNodeDay> Rows;  // the days, then the total
    tarvex::TNodeHistColumnList Columns;
    // The setup dialog's round trip carries a highlight list; one node has nothing to highlight.
    tarvex::TAddrList Highlight;
    std::string RepHeader;
    std::string RepFooter;

    // The save dialog and the setup dialog; tests answer them.
    std::function<QString()> AskReportFile;
    std::function<int(TSLSetupForm&)> ExecSetup;

    QToolButton* SetupBtn = nullptr;
    QToolButton* ReportBtn = nullptr;
    QLabel* NodeLabel = nullptr;
    TDayChart* Chart = nullptr;
    QTableView* Grid = nullptr;
    QPushButton* CloseBtn = nullptr;
    TNodeHistoryModel* Model = nullptr;

protected:
    void SaveState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rebuild();
    void ChooseRow(int row);
    void ChooseDay(std::int32_t day);
    void ColumnMoved(int from, int to);

    tarvex::TMailerLog* Log = nullptr;
};
