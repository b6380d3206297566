#pragma once
#include "views/viewform.h"

class QPushButton;
class QTableView;
class TFreqModel;

namespace tarvex {
class TMailerLog;
}

// "File requests": who asked for which file and whether it was sent, opened on the first
// request since the log's "new" mark. Selecting a request takes the log window to its line.
class TFreqForm : public TViewForm
{
    Q_OBJECT
public:
    TFreqForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);

    // Shows the host's log and itself.
    void Open();
    void DropRecords() override;
    void ShowRecords() override;
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;

    // The row Open starts on: the first request after the mark, else the last.
    static int StartRow(int firstNewFreq, int count);

    QTableView* Grid = nullptr;
    QPushButton* CloseBtn = nullptr;
    TFreqModel* Model = nullptr;

protected:
    void SaveState() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RowChanged(int row);

    tarvex::TMailerLog* Log = nullptr;
    // Set while the view selects its starting row, which must not move the log window.
    bool Updating = false;
};
