#pragma once
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string_view>

#include "host/logwindow.h"
#include "log/tlog.h"

class QLabel;
class QListWidget;
class QAction;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolButton;
class QWidget;
class LogViewer;
class TFrameForm;
class TDialStatForm;
class TFreqForm;
class TSessListForm;
class TTimelineForm;
struct TLogLoad;

namespace tarvex {
class TMailerLog;
}

// The window of one log: its text in the viewer, cut and analysed when it opens, walked by day
// and by session. It reaches its log through Log and the log reaches it through Log->Window.
class TChildForm : public QMdiSubWindow, public tarvex::ILogWindow
{
    Q_OBJECT
public:
    explicit TChildForm(TFrameForm* frame);
    ~TChildForm() override;

    // Loads, cuts and analyses the log; returns when that is done or the window was closed.
    void LoadAndAnalyze(tarvex::TLog* log);
    void GotoLine(std::int32_t n);
    void UpdatePosition();
    void ApplyColors();
    void ApplyFont();
    // Shows the text in the code page the settings now give for this log.
    void ApplyCodePage();
    void ShowLine(int lineNo) override { GotoLine(lineNo); }

    // Commands.
    void PrevDay();
    void NextDay();
    void PrevSession();
    void NextSession();
    void PrevRun();
    void NextRun();
    void ToggleHighlight();
    void DeleteLogAndExit();
    void ToggleDayList();
    void ShowTimeline();
    // Brings the session list to the front, or opens it with the caret line given.
    void ShowSessionList();
    void OpenSessionList(std::int32_t caretLine);
    // The log's own options (the Brake! version); a changed version analyses the text again.
    void EditLogOptions();
    // Bring the view to the front, or open it.
    void ShowFreqList();
    void ShowDialStat();

    // Where a view of this log opens when none is stored (global): over the log's text, a step
    // further for each view already open, inside the frame's client area (ViewArea).
    QPoint ViewOpeningPos() const;
    QRect ViewArea() const;

    bool IsClosing() const { return Closing; }
    bool IsBusy() const { return Busy; }
    TFrameForm* Frame() const { return FrameForm; }
    LogViewer* Viewer() const { return LogView; }
    QProgressBar* Progress() const { return ProgressBar; }
    QString StatusText(int panel) const;
    void SetStatusText(int panel, const QString& text);
    QListWidget* DayList() const { return DayListBox; }
    // Lets pending events run between the steps of loading.
    void LetEventsRun();

    tarvex::TLog* Log = nullptr;
    std::int32_t CurSession = -1;
    std::int32_t CurDay = 0;
    QPointer<TSessListForm> SessList;
    QPointer<TFreqForm> FreqList;
    QPointer<TTimelineForm> Timeline;
    QPointer<TDialStatForm> DialStat;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A window of 80 columns and 20 rows of the log font; the window's frame included.
    QSize OpeningSize() const;
    // Moves the window, and makes it smaller when it is larger, to lie inside the frame's area.
    void KeepInsideFrame();
    // Shows an open view on top; false when it is not open.
    static bool BringToFront(QWidget* view);
    void OpenFreqList();
    void OpenTimeline();
    void OpenDialStat();
    // The views that were open when the log window last closed.
    void ReopenViews();
    QToolButton* AddButton(QWidget* bar, const char* name, const QString& hint, int icon, bool enabled);
    void BuildContextMenu();
    void FillDayList();
    void ViewerKey(int key, Qt::KeyboardModifiers mods);
    void DayListChosen();
    void SaveViewState();
    void TakeLastStr();
    std::int32_t CaretLine() const;
    tarvex::TMailerLog* Mailer() const;
    std::int32_t SearchForward(const std::function<bool(std::string_view)>& pred, std::int32_t start);
    std::int32_t SearchBackward(const std::function<bool(std::string_view)>& pred, std::int32_t start);
    tarvex::TDateTime SafeDateOfLine(std::string_view line) const;
    void GenericPrevDay();
    void GenericNextDay();
    // What the loader needs of this window and its frame.
    TLogLoad LoadContext();
    bool KeepLoading(std::uint64_t done, std::uint64_t total);

    TFrameForm* FrameForm = nullptr;
    LogViewer* LogView = nullptr;
    QWidget* ToolBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    QLabel* Panels[2] = {nullptr, nullptr};
    QProgressBar* ProgressBar = nullptr;
    QListWidget* DayListBox = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* LogOptionsAction = nullptr;

    bool Busy = false;
    bool Closing = false;
    QElapsedTimer LoadClock;  // paces the events let through while the file is read
    bool Analyzed = false;
    bool RunsForSessions = false;

public:
    QToolButton *CloseBtn = nullptr, *KillBtn = nullptr, *PrevDayBtn = nullptr, *NextDayBtn = nullptr,
                *BtnDayList = nullptr, *PrevSessBtn = nullptr, *NextSessBtn = nullptr, *FindBtn = nullptr,
                *CopyBtn = nullptr, *HiliteBtn = nullptr, *SessListBtn = nullptr, *FreqListBtn = nullptr,
                *TimelineBtn = nullptr, *BtnDialStat = nullptr;
};
