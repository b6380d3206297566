#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/addrlist.h"
#include "report/column.h"
#include "report/sesscolumns.h"
#include "viewer/viewercodec.h"
#include "views/viewform.h"

class QPushButton;
class QTableView;
class QToolButton;
class TSessListDelegate;
class TSessListModel;
class TSLSetupForm;

namespace tarvex {
class TMailerLog;
}

// "Session list": one grid row per session of a log window's analysis, in user-defined
// columns, coloured by kind of session, bold for highlighted addresses, with a line over each
// day's first session. It follows the log window's caret and moves it; its columns, highlight
// list and report templates live in the log's ".SessList" section.
class TSessListForm : public TViewForm
{
    Q_OBJECT
public:
    TSessListForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);
    ~TSessListForm() override;

    // Shows the host's log, the first session after the caret line chosen.
    void Open(std::int32_t caretLine);
    void DropRecords() override;
    void ShowRecords() override;
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;
    // The log window's caret moved into session index (-1: none).
    void SelectSession(std::int32_t index);
    // Refills the grid from the column list (after setup and after a column was dragged).
    void FillGrid();
    // Draws the grid again (new colours).
    void Repaint();

    void SetupBtnClick();
    void ReportBtnClick();
    // The selected rows as tab-separated text, in the grid's column order.
    QString SelectedRowsText() const;
    void CopyRows();

    // The current width of each grid column.
    std::vector<int> GridWidths() const;

    bool Navigating = false;
    tarvex::TSessColumnList Columns;
    tarvex::TAddrList Highlight;
    std::string RepHeader;
    std::string RepFooter;

    // The save dialog and the setup dialog; tests answer them.
    std::function<QString()> AskReportFile;
    std::function<int(TSLSetupForm&)> ExecSetup;

    QToolButton* SetupBtn = nullptr;
    QToolButton* ReportBtn = nullptr;
    QTableView* Grid = nullptr;
    QPushButton* CloseBtn = nullptr;
    TSessListModel* Model = nullptr;
    TSessListDelegate* Delegate = nullptr;

protected:
    void SaveState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Navigate(int row);
    void ColumnMoved(int from, int to);
    tarvex::TDateFormat DateFormat() const;

    tarvex::TMailerLog* Log = nullptr;
    ViewerCodec Codec;
    // The row current when the records were dropped, current again with the new ones.
    int DroppedRow = -1;
};
