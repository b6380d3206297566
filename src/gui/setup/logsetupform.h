#pragma once
#include <QDialog>
#include <memory>
#include <string>

#include "common/guienv.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace tarvex {
class TLog;
class TLogList;
}

// What the Logs dialog asks of the main window, which owns the logs, their menu and their windows.
class ILogSetupHost
{
public:
    virtual ~ILogSetupHost() = default;
    virtual void AddLog(std::unique_ptr<tarvex::TLog> log) = 0;
    // Drops the log and the sections its views kept.
    virtual void RemoveLog(tarvex::TLog* log) = 0;
    // The log was renamed from oldName: its Logs-menu item (at position, from 1) and its window
    // follow.
    virtual void LogRenamed(const tarvex::TLog& log, const std::string& oldName, int position) = 0;
    // The logs changed in what the menus show (how many, their styles and mailer folders).
    virtual void LogsChanged() = 0;
    // The log's own options; the log's open window analyses its text again when they change.
    virtual void EditLogOptions(tarvex::TLog& log) = 0;
};

// The "Logs" dialog: the configured logs on the left, the edited log's settings on the right.
// It changes the main window's log objects as the user edits, field by field, so there is
// nothing to cancel; the logs reach the settings store when the program ends. List row i is
// the log at position i of the main window's Logs.
class TLogSetupForm : public QDialog
{
    Q_OBJECT
public:
    TLogSetupForm(const TGuiEnv& env, tarvex::TLogList& logs, ILogSetupHost& host, QWidget* parent);

    // The log being edited, or none.
    tarvex::TLog* EditedLog() const { return Log; }

    QListWidget* LbxLogs = nullptr;
    QPushButton* BtnNew = nullptr;
    QPushButton* BtnDelete = nullptr;
    QLineEdit* EdtName = nullptr;
    QComboBox* CmbStyle = nullptr;
    QLineEdit* EdtPath = nullptr;
    QToolButton* BtnBrowsePath = nullptr;
    QLabel* LblPathWarning = nullptr;
    QLabel* LblMailerPath = nullptr;
    QLineEdit* EdtMailerPath = nullptr;
    QToolButton* BtnBrowseMailer = nullptr;
    QLabel* LblMailerWarning = nullptr;
    QCheckBox* ChkAutoNew = nullptr;
    QLineEdit* EdtCutSize = nullptr;
    QButtonGroup* RadCutUnit = nullptr;
    QRadioButton* RadKBytes = nullptr;
    QRadioButton* RadDays = nullptr;
    QCheckBox* ChkUpdateDLC = nullptr;
    QPushButton* BtnLogOptions = nullptr;
    QPushButton* BtnOK = nullptr;

private:
    void FormShow();
    void RefreshFields();
    void EnableFields(bool on);
    void EnableMailerFields();
    void UpdateWarnings();

    void LbxLogsSelect(int row);
    void EdtNameEdited(const QString& text);
    void CmbStyleChosen(int pos);
    void EdtPathEdited(const QString& text);
    void EdtMailerPathEdited(const QString& text);
    void ChkAutoNewToggled(bool on);
    void EdtCutSizeEdited(const QString& text);
    void RadCutUnitClicked(int unit);
    void ChkUpdateDLCToggled(bool on);
    void BtnNewClick();
    void BtnDeleteClick();
    void BtnLogOptionsClick();
    void BtnBrowsePathClick();
    void BtnBrowseMailerClick();

    // Whether the log is shown in a window; if so the user is told, and nothing may change.
    bool RefuseOpenLog();
    int EditedRow() const;

    const TGuiEnv Env;
    tarvex::TLogList& Logs;
    ILogSetupHost& Host;
    tarvex::TLog* Log = nullptr;
    // Set while the dialog itself fills the fields, so that they do not write back.
    bool Resetting = false;
};
