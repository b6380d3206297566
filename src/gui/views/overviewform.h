#pragma once
#include <cstdint>

#include "views/viewform.h"

class QLabel;
class QPushButton;
class TDayChart;

namespace tarvex {
class TMailerLog;
}

// "Log overview": the whole log at a glance, a chart of every day's sessions by outcome and
// bytes each way. Clicking a day takes the log window there; its placement lives in the log's
// ".Overview" section.
class TOverviewForm : public TViewForm
{
    Q_OBJECT
public:
    TOverviewForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);

    // Shows the host's log, and itself.
    void Open();
    void DropRecords() override;
    void ShowRecords() override;
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;
    // Marks the log window's day.
    void SetDay(std::int32_t day);

    QLabel* SumLabel = nullptr;
    TDayChart* Chart = nullptr;
    QPushButton* CloseBtn = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Rebuild();
    void ChooseDay(std::int32_t day);

    tarvex::TMailerLog* Log = nullptr;
};
