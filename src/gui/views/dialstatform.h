#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "log/records.h"
#include "report/addrlist.h"
#include "report/dscolumns.h"

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TChildForm;
class TDialStatModel;
class TSLSetupForm;

namespace tarvex {
class TMailerLog;
}

// "Dial statistics": one grid row per node the mailer called or that called it on one day of
// the log, in user-defined columns, bold for highlighted addresses. It follows the day of the
// log window's caret; its columns and report templates live in the log's ".DialStat" section,
// its highlight list is the session list's.
class TDialStatForm : public QWidget
{
    Q_OBJECT
public:
    explicit TDialStatForm(TChildForm* owner);

    void Open(tarvex::TMailerLog* log);
    // Shows day DayIndex of the log; the grid is filled again only when the day changes.
    void SetDay(std::int32_t dayIndex);
    // Refills the grid from the column list (after setup, after a column was dragged).
    void FillGrid();

    void SetupBtnClick();
    void ReportBtnClick();

    std::string Section() const;
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
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ColumnMoved(int from, int to);
    void SaveState();

    TChildForm* Owner = nullptr;
    tarvex::TMailerLog* Log = nullptr;
    bool Saved = false;
};
