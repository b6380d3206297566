#pragma once
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/fidoaddr.h"
#include "common/guienv.h"
#include "host/logwindow.h"
#include "log/mailerlog.h"
#include "log/tlog.h"
#include "views/viewhost.h"

class QLabel;
class QListWidget;
class QAction;
class QMdiArea;
class QMenu;
class QProgressBar;
class QStatusBar;
class QToolButton;
class QWidget;
class LogViewer;
class TDialStatForm;
class TFreqForm;
class TNodeHistoryForm;
class TOverviewForm;
class TSessListForm;
class TTimelineForm;
class TLogFollower;
class TViewForm;
struct TLogLoad;

namespace tarvex {
class TMailerLog;
struct TLineSource;
struct TPassGrowth;
}

// Where a log window goes: the placement of a restored desktop entry.
struct TPlacement {
    int Left = -1, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
};

// The window of one log: its text in the viewer, cut and analysed when it opens, walked by day
// and by session; while it follows the log, what the mailer appends is added to the text and
// the analysis goes on over it. It reaches its log through Log and the log reaches it through
// Log->Window; its views reach it through IViewHost.
class TChildForm : public QMdiSubWindow, public tarvex::ILogWindow, public IViewHost
{
    Q_OBJECT
public:
    // A window in the area, captioned; with a placement (Left not -1) it takes it, else it
    // opens large enough for a screen of the log's text.
    TChildForm(const TGuiEnv& env, QMdiArea* area, const QString& caption, const TPlacement* placement = nullptr);
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

    // What the views ask of the window.
    tarvex::TMailerLog* ViewedLog() const override;
    QString TextCodePage() const override;
    std::string SectionOf(TViewKind kind) const override;
    QPoint ViewOpeningPos() const override;
    QRect ViewArea() const override;

    // Commands.
    void PrevDay();
    void NextDay();
    void PrevSession();
    void NextSession();
    void PrevRun();
    void NextRun();
    void ToggleHighlight();
    // "Follow": on, the window takes what is appended to the log as it comes (the log keeps
    // the choice); off, the text stays as it is.
    void ToggleFollow();
    bool IsFollowing() const;
    void DeleteLogAndExit();
    void ToggleDayList();
    void ShowTimeline();
    // Brings the session list to the front, or opens it with the caret line given.
    void ShowSessionList();
    void OpenSessionList(std::int32_t caretLine);
    // The log's own options (the Brake! version); options that change how its lines read have
    // the text analysed again, and the open views show the new records.
    void EditLogOptions();
    // Bring the view to the front, or open it.
    void ShowFreqList();
    void ShowDialStat();
    // The history of a node (of the line under the caret), and the overview of the log.
    void ShowNodeHistory(const tarvex::TFidoAddr& addr);
    void ShowNodeHistoryAtCaret();
    void ShowOverview();

    bool IsClosing() const { return Closing; }
    bool IsBusy() const { return Busy; }
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
    QPointer<TNodeHistoryForm> NodeHist;
    QPointer<TOverviewForm> Overview;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A window of 80 columns and 20 rows of the log font; the window's frame included.
    QSize OpeningSize() const;
    // Moves the window, and makes it smaller when it is larger, to lie inside the frame's area.
    void KeepInsideFrame();
    // Shows an open view on top; false when it is not open.
    static bool BringToFront(QWidget* view);
    // The view made, its signals wired to this window.
    template <class View>
    View* MakeView();
    void OpenFreqList();
    void OpenTimeline();
    void OpenDialStat();
    // The open views, in the order of TViewKind (null where closed).
    std::array<TViewForm*, 6> Views() const;
    // Analyses the text again, the views dropping their records meanwhile.
    void ReanalyzeText(bool inSteps);
    // The views that were open when the log window last closed.
    void ReopenViews();
    QToolButton* AddButton(QWidget* bar, const char* name, const QString& hint, int icon, bool enabled);
    void BuildContextMenu();
    void FillDayList();
    void ViewerKey(int key, Qt::KeyboardModifiers mods);
    void DayListChosen();
    void SaveViewState();
    std::int32_t CaretLine() const;
    tarvex::TMailerLog* Mailer() const;
    // The viewer's lines, as the navigation walks them.
    tarvex::TLineSource Text() const;
    // The pass over the viewer's text: in steps, so that the analysis can go on with the lines
    // to come, or in one go.
    bool AnalyzeText(const tarvex::TProgressFn& progress, bool inSteps);
    // Loads the text of a log not cut on opening and analyses it meanwhile: the pass runs here
    // (it asks the user and moves the window) on each piece once the viewer holds it, while the
    // second thread reads the next piece and finds its lines. whole as AnalyzeText's answer;
    // false when the text could not be loaded.
    bool LoadAnalyzing(bool& whole);
    // The mark of the log's text taken from the file's end: while the text loads, its last
    // lines are not indexed yet, and the mark kept must be the one of the whole text.
    std::string MarkOfFile() const;
    // How the text is analysed as the window opens it: in steps for a followed log whose text
    // ends with a whole line, which gives the records one go gives. A last line without its
    // end is read in one go, as it always was on opening; the first bytes that follow it have
    // the text analysed again in steps.
    bool OpensInSteps() const;
    void StartFollowing();
    // Stops, with why in the status bar (empty: the user turned it off).
    void StopFollowing(const QString& why);
    void SyncFollowToggle(bool on);
    void PollFollowed();
    void TakeAppended();
    // The file was cut or written anew, or another file took its name: the window reads it
    // again from the bytes the poll gave, as it does on opening, but cuts nothing.
    void StartOverFollowed();
    void ShowGrowth(const tarvex::TPassGrowth& growth);
    // Days of the analysis the day list does not show yet.
    void AddNewDays();
    // What the loader needs of this window and its frame.
    TLogLoad LoadContext();
    bool KeepLoading(std::uint64_t done, std::uint64_t total);
    // The bar from 0 to 1000 and what the window does, as a load begins.
    void StartLoadProgress(const QString& doing);

    const TGuiEnv Env;
    QMdiArea* Area = nullptr;
    LogViewer* LogView = nullptr;
    QWidget* ToolBar = nullptr;
    QStatusBar* StatusBar = nullptr;
    // Panel 0 the caret's session and what happens, 1 the counts, 2 "Following".
    QLabel* Panels[3] = {nullptr, nullptr, nullptr};
    QProgressBar* ProgressBar = nullptr;
    QListWidget* DayListBox = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* LogOptionsAction = nullptr;
    QAction* FollowAction = nullptr;
    TLogFollower* Follower = nullptr;
    std::string FollowBytes;  // the last poll's bytes, kept to reuse the buffer
    // The pass was made in steps and may go on with more lines.
    bool PassGoesOn = false;
    bool LoadingInPlace = false;  // the text grows as it loads (LoadAnalyzing)
    // The auto-new mark of the text as it opened, which the DLC update covered; the lines
    // followed after it are counted at the next opening.
    std::optional<std::string> CoveredMark;

    bool Busy = false;
    bool Closing = false;
    QElapsedTimer LoadClock;  // paces the events let through while the file is read
    bool Analyzed = false;
    bool RunsForSessions = false;

public:
    QToolButton *CloseBtn = nullptr, *KillBtn = nullptr, *PrevDayBtn = nullptr, *NextDayBtn = nullptr,
                *BtnDayList = nullptr, *PrevSessBtn = nullptr, *NextSessBtn = nullptr, *FindBtn = nullptr,
                *CopyBtn = nullptr, *HiliteBtn = nullptr, *SessListBtn = nullptr, *FreqListBtn = nullptr,
                *TimelineBtn = nullptr, *BtnDialStat = nullptr, *FollowBtn = nullptr;
};
