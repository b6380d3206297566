#pragma once
#include <QWidget>
#include <string>

class QPushButton;
class QTableView;
class TChildForm;
class TFreqModel;

namespace tarvex {
class TMailerLog;
}

// "File requests": who asked for which file and whether it was sent, opened on the first
// request since the log's "new" mark. Selecting a request takes the log window to its line.
class TFreqForm : public QWidget
{
    Q_OBJECT
public:
    explicit TFreqForm(TChildForm* owner);

    void Open(tarvex::TMailerLog* log);

    // The row Open starts on: the first request after the mark, else the last.
    static int StartRow(int firstNewFreq, int count);

    std::string Section() const;

    QTableView* Grid = nullptr;
    QPushButton* CloseBtn = nullptr;
    TFreqModel* Model = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RowChanged(int row);
    void SaveWidths();

    TChildForm* Owner = nullptr;
    tarvex::TMailerLog* Log = nullptr;
    // Set while Open selects the starting row, which must not move the log window.
    bool Updating = false;
    bool Saved = false;
};
