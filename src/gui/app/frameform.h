#pragma once
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/appsettings.h"
#include "app/qtuserinterface.h"
#include "host/settingsstore.h"
#include "styles/loglist.h"

class QMdiArea;
class QMenu;
class QAction;
class TChildForm;
class TTrafficForm;
class TEmptyAreaHint;
class THistoryForm;

// Where a log window goes: the placement of a restored desktop entry.
struct TPlacement {
    int Left = -1, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
};

// What the main window hands to a log window while it is created.
struct TPendingOpen {
    QString Caption;
    bool PlacementValid = false;
    TPlacement Placement;
};

// The multi-document main window: owns the settings store, the application settings, the log
// font, the colours and the configured logs for the whole run, keeps the Logs menu in step with
// the logs, and reopens the log windows of the last run.
class TFrameForm : public QMainWindow
{
    Q_OBJECT
public:
    // Without a store the user's own settings are used; without ui, real message boxes.
    explicit TFrameForm(std::unique_ptr<tarvex::ISettingsStore> store = nullptr,
                        std::unique_ptr<TQtUserInterface> ui = nullptr, QWidget* parent = nullptr);
    ~TFrameForm() override;

    QMdiArea* mdiArea() const { return MdiArea; }
    tarvex::ISettingsStore& Store() const { return *Reg; }
    TQtUserInterface& Ui() const { return *UI; }

    // Opens the log in a new log window and runs its analysis before returning; with a
    // placement (Left not -1) the window takes it.
    void OpenLog(tarvex::TLog* log, const TPlacement* placement = nullptr);
    // Opens a file that is not configured, as a log of the given style; it is not saved.
    tarvex::TLog* OpenUnconfigured(const std::string& path, int style);
    void AddLogMenuItem(std::unique_ptr<tarvex::TLog> log);
    void RemoveLog(tarvex::TLog* log);
    // Renames the first Logs-menu item captioned oldName; with a position (from 1), the item
    // of that position when it carries oldName, so that of two logs of one name the right one
    // follows.
    void RenameLogMenuItem(const std::string& oldName, const std::string& newName, int position = 0);
    void UpdateMenus();
    void RestoreDesktop();

    // The T-mail menu: opens the traffic or history window at the stored line, or brings the
    // open one to the front. The windows report their line when they close.
    void ShowTraffic();
    void ShowHistory();
    void TrafficClosed(int line);
    void HistoryClosed(int line);
    TTrafficForm* TrafficWindow() const;
    THistoryForm* HistoryWindow() const;

    // The log windows, front-most first; windows already closing are left out.
    QList<TChildForm*> LogWindows() const;
    TChildForm* WindowOfLog(const tarvex::TLog* log) const;

    TAppSettings AppSettings;
    TLogFontSetting LogFont;
    TLogColors LogColors;
    tarvex::TLogList Logs;
    TPendingOpen PendingOpen;
    // The style files opened without configuring them are shown in ("Open log...", a drop):
    // the command line's --style, else Other.
    int UnconfiguredStyle = tarvex::lsOther;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormShow();
    void CreateMenus();
    void RebuildLogsMenu();
    void LogMenuItemClick(int tag);
    void GeneralItemClick();
    void ColorsItemClick();
    // Brings the log's window to the front, or opens one.
    void ShowLog(tarvex::TLog* log);
    void FontItemClick();
    void LogsSetupItemClick();
    void OpenLogItemClick();
    void AboutItemClick();
    void UpdateWindowMenu();
    void SaveDesktop();

    std::unique_ptr<tarvex::ISettingsStore> Reg;
    std::unique_ptr<TQtUserInterface> UI;
    std::vector<std::unique_ptr<tarvex::TLog>> AdHocLogs;
    QMdiArea* MdiArea = nullptr;
    QPointer<QWidget> PaintWatched;
    QMenu* LogsMenu = nullptr;
    QMenu* TMailMenu = nullptr;
    QMenu* WindowMenu = nullptr;
    QAction* LogsMenuAction = nullptr;
    QAction* TMailMenuAction = nullptr;
    QPointer<TTrafficForm> TrafficForm;
    QPointer<THistoryForm> HistoryForm;
    TEmptyAreaHint* EmptyHint = nullptr;
    QString OpenLogFolder;
    int LogCountAtStart = 0;
    bool Shown = false;
    bool DesktopRestored = false;
    bool ShutDown = false;
};
