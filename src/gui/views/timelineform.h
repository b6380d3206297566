#pragma once
#include <QWidget>
#include <cstdint>
#include <string>

class QLabel;
class QPushButton;
class QSpinBox;
class TChildForm;
class TTimelineView;

namespace tarvex {
class TMailerLog;
}

// "Timeline": one day of the log as a strip of hours with a bar for each session. The window
// of hours is the shared DayStart/DayEnd setting; a click on a bar takes the log window to the
// session, and the log window's caret chooses the day unless the click itself moved it.
class TTimelineForm : public QWidget
{
    Q_OBJECT
public:
    explicit TTimelineForm(TChildForm* owner);

    void Open(tarvex::TMailerLog* log);
    void SetDay(std::int32_t dayIndex);
    void PrevDayClick();
    void NextDayClick();

    std::string Section() const;

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
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowDay(std::size_t index);
    void WindowChanged();
    void Navigate(std::int64_t session);

    TChildForm* Owner = nullptr;
    tarvex::TMailerLog* Log = nullptr;
};
