#pragma once
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/qtuserinterface.h"
#include "common/appsettings.h"
#include "common/guienv.h"
#include "host/settingsstore.h"
#include "setup/logsetupform.h"
#include "styles/loglist.h"

class QMdiArea;
class QMenu;
class QAction;
class TChildForm;
class TTrafficForm;
class TEmptyAreaHint;
class THistoryForm;
struct TPlacement;

// The multi-document main window: owns the settings store, the application settings, the log
// font, the colours and the configured logs for the whole run, keeps the Logs menu in step with
// the logs, and reopens the log windows of the last run. The windows below it get what they
// need of that through Env.
class TFrameForm : public QMainWindow, private ILogSetupHost
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
    // What the log windows, their views, the T-Mail windows and the dialogs work with.
    TGuiEnv Env() { return {*Reg, *UI, LogColors, LogFont, AppSettings}; }

    // Opens the log in a new log window and runs its analysis before returning; with a
    // placement (Left not -1) the window takes it.
    void OpenLog(tarvex::TLog* log, const TPlacement* placement = nullptr);
    // Opens a file that is not configured, as a log of the given style; it is not saved.
    tarvex::TLog* OpenUnconfigured(const std::string& path, int style);
    void AddLogMenuItem(std::unique_ptr<tarvex::TLog> log);
    void RemoveLog(tarvex::TLog* log) override;
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
    TTrafficForm* TrafficWindow() const;
    THistoryForm* HistoryWindow() const;

    // The log windows, front-most first; windows already closing are left out.
    QList<TChildForm*> LogWindows() const;
    TChildForm* WindowOfLog(const tarvex::TLog* log) const;

    TAppSettings AppSettings;
    TLogFontSetting LogFont;
    TLogColors LogColors;
    tarvex::TLogList Logs;
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
    // The Logs dialog's changes.
    void AddLog(std::unique_ptr<tarvex::TLog> log) override { AddLogMenuItem(std::move(log)); }
    void LogRenamed(const tarvex::TLog& log, const std::string& oldName, int position) override;
    void LogsChanged() override { UpdateMenus(); }
    void EditLogOptions(tarvex::TLog& log) override;

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
