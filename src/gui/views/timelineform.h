#pragma once
#include <cstdint>
#include <string>

#include "views/viewform.h"

class QLabel;
class QPushButton;
class QSpinBox;
class TTimelineView;

namespace tarvex {
class TMailerLog;
}

// "Timeline": one day of the log as a strip of hours with a bar for each session. The window
// of hours is the shared DayStart/DayEnd setting; a click on a bar takes the log window to the
// session, and the log window's caret chooses the day unless the click itself moved it.
class TTimelineForm : public TViewForm
{
    Q_OBJECT
public:
    TTimelineForm(const TGuiEnv& env, IViewHost& host, QWidget* parent);

    // Shows the host's log, on its first day, and itself.
    void Open();
    void DropRecords() override;
    void ShowRecords() override;
    // The strip is drawn again when a new session falls on the day shown.
    void RecordsGrew(const tarvex::TPassGrowth& growth) override;
    void SetDay(std::int32_t dayIndex);
    void PrevDayClick();
    void NextDayClick();

    bool Navigating = false;
    std::int32_t RememberedLine = 0;

    TTimelineView* Strip = nullptr;
    QSpinBox* StartEdit = nullptr;
    QSpinBox* EndEdit = nullptr;
    QPushButton* PrevBtn = nullptr;
    QLabel* DayLabel = nullptr;
    QPushButton* NextBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowDay(std::size_t index);
    void WindowChanged();
    void Navigate(std::int64_t session);

    tarvex::TMailerLog* Log = nullptr;
};
