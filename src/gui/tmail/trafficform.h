#pragma once
#include <functional>

#include "tmail/tmaillineform.h"
#include "tmail/traffic.h"

class QAction;
class QMenu;
class TTrafficModel;

// "Traffic": the traffic file of a T-Mail line as a table with a total row; sorted, searched
// for a node, switched to another line and written as a text report.
class TTrafficForm : public TTMailLineForm
{
    Q_OBJECT
public:
    // The save-file dialog of the report: the chosen file, or empty when cancelled.
    using TAskFileName = std::function<QString(const QString& defaultName)>;

    TTrafficForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent);

    void SetSortMode(tarvex::TTrafficSort mode);
    tarvex::TTrafficSort SortMode() const { return Sort; }
    void FindNode();
    void WriteReport();
    // Writes the report of the rows as shown to a local file; false after telling the user.
    bool WriteReportTo(const QString& path);

    const tarvex::TTrafficTable& Table() const { return Traffic; }
    QMenu* SortMenu() const { return SortPopup; }
    TAskFileName AskReportFile;

protected:
    bool Load() override;
    void Display() override;

private:
    tarvex::TTrafficTable Traffic;
    tarvex::TTrafficSort Sort = tarvex::TTrafficSort::Unsorted;
    TTrafficModel* Model;
    QMenu* SortPopup = nullptr;
    QAction* SortItems[4] = {};
};
