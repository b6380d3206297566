#pragma once
#include <QDialog>
#include <string>

#include "common/guienv.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QStandardItemModel;
class QTableView;
class TDriveMapModel;

// The "General options" dialog: the application-wide settings on the pages "Settings", "DLC",
// "Drives" and "Environment". It works on its own controls; the caller fills it from the settings and, when
// it closes with OK, copies the values back.
class TGeneralOptionsForm : public QDialog
{
    Q_OBJECT
public:
    // The environment's user interface shows the message that refuses an unknown code page.
    explicit TGeneralOptionsForm(const TGuiEnv& env, QWidget* parent = nullptr);

    void SetValues(const TAppSettings& settings);
    // Copies every value back, in the order of the pages. A field left as it was filled keeps
    // its stored value byte for byte; an empty Digits field gives 0.
    void GetValues(TAppSettings& settings) const;

    // The code page names offered in the drop-down lists; any other name a decoder knows is
    // taken too.
    static QStringList CommonCodePages();

    // OK: refused, with a message, while a code page names no decoder.
    void accept() override;

    QTabWidget* Pages = nullptr;
    QCheckBox* ChkSaveDesktop = nullptr;
    QCheckBox* ChkShowDomain = nullptr;
    QCheckBox* ChkFreqRealName = nullptr;
    QCheckBox* ChkOEMConvert = nullptr;
    QComboBox* CmbOEMCodePage = nullptr;
    QComboBox* CmbANSICodePage = nullptr;
    QLineEdit* EdtDLCLeft = nullptr;
    QLineEdit* EdtDLCRight = nullptr;
    QLineEdit* EdtDLCDigits = nullptr;
    QLineEdit* EdtDLCLead = nullptr;
    QCheckBox* ChkDLCBackup = nullptr;
    QTableView* GrdDrives = nullptr;
    TDriveMapModel* Drives = nullptr;
    QPushButton* BtnAddDrive = nullptr;
    QPushButton* BtnRemoveDrive = nullptr;
    QPushButton* BtnBrowseDrive = nullptr;
    QTableView* GrdEnvironment = nullptr;
    QStandardItemModel* Environment = nullptr;  // Name, Value
    QPushButton* BtnAddName = nullptr;
    QPushButton* BtnRemoveName = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private:
    QWidget* CreateSettingsPage();
    QWidget* CreateDlcPage();
    QWidget* CreateDrivesPage();
    QWidget* CreateEnvironmentPage();
    bool CheckCodePage(QComboBox* combo);
    void AddDriveClick();
    void RemoveDriveClick();
    void BrowseDriveClick();
    int CurrentDriveRow() const;

    const TGuiEnv Env;
    // What the text fields were filled from, so that an untouched field gives back its bytes.
    TAppSettings Filled;
};
