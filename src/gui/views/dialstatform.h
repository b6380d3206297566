#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "log/records.h"
#include "report/addrlist.h"
#include "report/dscolumns.h"
#include "views/viewform.h"

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TDialStatModel;
class TSLSetupForm;

namespace tarvex {
class TMailerLog;
}

// "Dial statistics": one grid row per node the mailer called or that called it on one day of
// the log, in user-defined columns, bold for highlighted addresses. It follows the day of the
// log window's caret; its columns and report templates live in the log's ".DialStat" section,
// its highlight list is the session list's.
class TDialStatForm : public TViewForm
{
    Q_OBJECT
public:
    TDialStatForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);

    // Takes the host's log; the day comes with SetDay.
    void Open();
    void DropRecords() override;
    void ShowRecords() override;
    // The day shown is filled again when it counted more (its nodes may stand in another order).
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;
    // Shows day DayIndex of the log; the grid is filled again only when the day changes.
    void SetDay(std::int32_t dayIndex);
    // Refills the grid from the column list (after setup, after a column was dragged).
    void FillGrid();

    void SetupBtnClick();
    void ReportBtnClick();

    std::vector<int> GridWidths() const;

    tarvex::TDialStatColumnList Columns;
    tarvex::TAddrList Highlight;
    std::string RepHeader;
    std::string RepFooter;
    std::int32_t DayIndex = -1;
    tarvex::TNewDay Day;
    // How many times the grid was filled: SetDay within the same day must not do it.
    int FillCount = 0;

    // The save dialog and the setup dialog; tests answer them.
    std::function<QString()> AskReportFile;
    std::function<int(TSLSetupForm&)> ExecSetup;

    QToolButton* SetupBtn = nullptr;
    QToolButton* ReportBtn = nullptr;
    QLabel* DayLabel = nullptr;
    QTableView* Grid = nullptr;
    QPushButton* CloseBtn = nullptr;
    TDialStatModel* Model = nullptr;

protected:
    void SaveState() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ColumnMoved(int from, int to);
    // The highlighted addresses are the session list's: one list for both windows.
    std::string HighlightSection() const { return Host.SectionOf(TViewKind::SessList); }

    tarvex::TMailerLog* Log = nullptr;
    // The day shown when the records were dropped, shown again with the new ones.
    std::int32_t DroppedDay = -1;
};
