#include "setup/logsetupform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "common/dialogbuttons.h"
#include "log/mailerlog.h"
#include "log/setupcheck.h"
#include "setup/digitsvalidator.h"
#include "styles/logfactory.h"
#include "styles/loglist.h"

using tarvex::TLog;
using tarvex::TMailerLog;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QLabel* MakeWarningIcon(QWidget* parent, const char* name)
{
    auto* icon = new QLabel(parent);
    icon->setObjectName(name);
    const int side = parent->style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(parent->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    // Keeps its room while hidden, so the fields do not jump as the user types.
    QSizePolicy keep = icon->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    icon->setSizePolicy(keep);
    icon->hide();
    return icon;
}

void ShowWarning(QLabel* icon, const std::string& reason)
{
    icon->setToolTip(Q(reason));
    icon->setVisible(!reason.empty());
}

// The folder a browse dialog starts in: the field's folder when it has one that exists.
QString StartFolder(const QString& path, bool pathIsFolder)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    const QString folder = pathIsFolder ? info.absoluteFilePath() : info.absolutePath();
    return QFileInfo(folder).isDir() ? folder : QString();
}

}  // namespace

TLogSetupForm::TLogSetupForm(const TGuiEnv& env, tarvex::TLogList& logs, ILogSetupHost& host, QWidget* parent)
    : QDialog(parent), Env(env), Logs(logs), Host(host)
{
    setObjectName("TLogSetupForm");
    setWindowTitle("Logs");
    setModal(true);

    LbxLogs = new QListWidget(this);
    LbxLogs->setObjectName("LbxLogs");
    BtnNew = new QPushButton("New", this);
    BtnNew->setObjectName("BtnNew");
    BtnNew->setAutoDefault(false);
    BtnDelete = new QPushButton("Delete", this);
    BtnDelete->setObjectName("BtnDelete");
    BtnDelete->setAutoDefault(false);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(BtnNew);
    listButtons->addWidget(BtnDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(LbxLogs);
    left->addLayout(listButtons);

    EdtName = new QLineEdit(this);
    EdtName->setObjectName("EdtName");
    CmbStyle = new QComboBox(this);
    CmbStyle->setObjectName("CmbStyle");
    for (int pos = 0; pos < tarvex::kStyleCount; ++pos)
        CmbStyle->addItem(Q(tarvex::StyleName(tarvex::StyleOfDialogPos(pos))));
    EdtPath = new QLineEdit(this);
    EdtPath->setObjectName("EdtPath");
    BtnBrowsePath = new QToolButton(this);
    BtnBrowsePath->setObjectName("BtnBrowsePath");
    BtnBrowsePath->setText("...");
    BtnBrowsePath->setToolTip("Select file");
    LblPathWarning = MakeWarningIcon(this, "LblPathWarning");
    LblMailerPath = new QLabel("Path to mailer", this);
    LblMailerPath->setObjectName("LblMailerPath");
    EdtMailerPath = new QLineEdit(this);
    EdtMailerPath->setObjectName("EdtMailerPath");
    BtnBrowseMailer = new QToolButton(this);
    BtnBrowseMailer->setObjectName("BtnBrowseMailer");
    BtnBrowseMailer->setText("...");
    BtnBrowseMailer->setToolTip("Select directory");
    LblMailerWarning = MakeWarningIcon(this, "LblMailerWarning");
    ChkAutoNew = new QCheckBox("Auto new", this);
    ChkAutoNew->setObjectName("ChkAutoNew");
    ChkAutoNew->setToolTip("Automatically move to new info");
    EdtCutSize = new QLineEdit("0", this);
    EdtCutSize->setObjectName("EdtCutSize");
    EdtCutSize->setValidator(new TDigitsValidator(std::numeric_limits<std::int32_t>::max(), EdtCutSize));
    RadKBytes = new QRadioButton("KBytes", this);
    RadKBytes->setObjectName("RadKBytes");
    RadDays = new QRadioButton("days", this);
    RadDays->setObjectName("RadDays");
    RadCutUnit = new QButtonGroup(this);
    RadCutUnit->addButton(RadKBytes, 0);
    RadCutUnit->addButton(RadDays, 1);
    ChkUpdateDLC = new QCheckBox("Update DLC", this);
    ChkUpdateDLC->setObjectName("ChkUpdateDLC");
    BtnLogOptions = new QPushButton("Log options", this);
    BtnLogOptions->setObjectName("BtnLogOptions");
    BtnLogOptions->setAutoDefault(false);
    BtnLogOptions->setEnabled(false);

    auto* fields = new QGridLayout;
    int row = 0;
    fields->addWidget(new QLabel("Name", this), row, 0);
    fields->addWidget(EdtName, row++, 1, 1, 2);
    fields->addWidget(new QLabel("Style", this), row, 0);
    fields->addWidget(CmbStyle, row++, 1, 1, 2);
    fields->addWidget(new QLabel("Path to log", this), row, 0);
    fields->addWidget(EdtPath, row, 1);
    fields->addWidget(BtnBrowsePath, row, 2);
    fields->addWidget(LblPathWarning, row++, 3);
    fields->addWidget(LblMailerPath, row, 0);
    fields->addWidget(EdtMailerPath, row, 1);
    fields->addWidget(BtnBrowseMailer, row, 2);
    fields->addWidget(LblMailerWarning, row++, 3);
    fields->addWidget(ChkAutoNew, row++, 1, 1, 2);
    auto* cut = new QHBoxLayout;
    cut->addWidget(EdtCutSize);
    cut->addWidget(RadKBytes);
    cut->addWidget(RadDays);
    fields->addWidget(new QLabel("Cut size", this), row, 0);
    fields->addLayout(cut, row++, 1, 1, 2);
    fields->addWidget(ChkUpdateDLC, row++, 1, 1, 2);
    fields->addWidget(BtnLogOptions, row++, 1, 1, 1, Qt::AlignLeft);
    fields->setColumnStretch(1, 1);
    fields->setRowStretch(row, 1);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 2);
    body->addLayout(fields, 3);
    // The logs change as they are edited: there is nothing to cancel.
    const TDialogButtons buttons = MakeDialogButtons(this, false);
    BtnOK = buttons.OK;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons.Box);
    resize(560, 320);

    // The chosen log is the selected entry, not the current one: the list makes its first row
    // current when it takes the focus, and that must not pick a log for editing.
    connect(LbxLogs, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = LbxLogs->selectedItems();
        LbxLogsSelect(chosen.isEmpty() ? -1 : LbxLogs->row(chosen.front()));
    });
    connect(EdtName, &QLineEdit::textEdited, this, &TLogSetupForm::EdtNameEdited);
    connect(CmbStyle, &QComboBox::activated, this, &TLogSetupForm::CmbStyleChosen);
    connect(EdtPath, &QLineEdit::textEdited, this, &TLogSetupForm::EdtPathEdited);
    connect(EdtMailerPath, &QLineEdit::textEdited, this, &TLogSetupForm::EdtMailerPathEdited);
    connect(ChkAutoNew, &QCheckBox::toggled, this, &TLogSetupForm::ChkAutoNewToggled);
    connect(EdtCutSize, &QLineEdit::textEdited, this, &TLogSetupForm::EdtCutSizeEdited);
    connect(RadCutUnit, &QButtonGroup::idClicked, this, &TLogSetupForm::RadCutUnitClicked);
    connect(ChkUpdateDLC, &QCheckBox::toggled, this, &TLogSetupForm::ChkUpdateDLCToggled);
    connect(BtnNew, &QPushButton::clicked, this, &TLogSetupForm::BtnNewClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TLogSetupForm::BtnDeleteClick);
    connect(BtnLogOptions, &QPushButton::clicked, this, &TLogSetupForm::BtnLogOptionsClick);
    connect(BtnBrowsePath, &QToolButton::clicked, this, &TLogSetupForm::BtnBrowsePathClick);
    connect(BtnBrowseMailer, &QToolButton::clicked, this, &TLogSetupForm::BtnBrowseMailerClick);

    FormShow();
}

void TLogSetupForm::FormShow()
{
    Resetting = true;
    LbxLogs->clear();
    for (std::size_t i = 0; i < Logs.Count(); ++i)
        LbxLogs->addItem(Q(Logs[i].Name));
    LbxLogs->setCurrentRow(-1);
    LbxLogs->clearSelection();
    Resetting = false;
    Log = nullptr;
    RefreshFields();
}

int TLogSetupForm::EditedRow() const { return Log ? Logs.IndexOf(Log) : -1; }

void TLogSetupForm::RefreshFields()
{
    Resetting = true;
    if (!Log) {
        EdtPath->clear();
        EdtName->clear();
        EdtCutSize->clear();
        EdtMailerPath->clear();
        CmbStyle->setCurrentIndex(-1);
        // An exclusive group keeps one button checked; no unit is shown without a log.
        RadCutUnit->setExclusive(false);
        RadKBytes->setChecked(false);
        RadDays->setChecked(false);
        RadCutUnit->setExclusive(true);
        ChkAutoNew->setChecked(false);
        ChkUpdateDLC->setChecked(false);
    } else {
        EdtPath->setText(Q(Log->Path));
        EdtName->setText(Q(Log->Name));
        CmbStyle->setCurrentIndex(tarvex::DialogPosOfStyle(Log->Style));
        ChkAutoNew->setChecked(Log->AutoNew);
        EdtCutSize->setText(QString::number(Log->CutSize));
        (Log->CutMode == 1 ? RadDays : RadKBytes)->setChecked(true);
        if (const auto* mailer = dynamic_cast<const TMailerLog*>(Log)) {
            EdtMailerPath->setText(Q(mailer->MailerPath));
            ChkUpdateDLC->setChecked(mailer->UpdateDLC);
        } else {
            EdtMailerPath->clear();
            ChkUpdateDLC->setChecked(false);
        }
    }
    Resetting = false;
    EnableFields(Log != nullptr);
    EnableMailerFields();
    UpdateWarnings();
}

void TLogSetupForm::EnableFields(bool on)
{
    // Without a log there is nothing to write to: the fields say so by being disabled.
    for (QWidget* w : std::initializer_list<QWidget*>{EdtName, CmbStyle, EdtPath, BtnBrowsePath, ChkAutoNew, EdtCutSize,
                                                      RadKBytes, RadDays, BtnDelete})
        w->setEnabled(on);
}

void TLogSetupForm::EnableMailerFields()
{
    const bool mailer = Log && Log->IsMailer();
    for (QWidget* w : std::initializer_list<QWidget*>{LblMailerPath, EdtMailerPath, BtnBrowseMailer, ChkUpdateDLC})
        w->setEnabled(mailer);
    BtnLogOptions->setEnabled(Log && Log->HasOptions);
}

void TLogSetupForm::UpdateWarnings()
{
    ShowWarning(LblPathWarning, Log ? tarvex::LogPathProblem(*Log) : std::string());
    ShowWarning(LblMailerWarning, Log ? tarvex::MailerPathProblem(*Log) : std::string());
}

void TLogSetupForm::LbxLogsSelect(int row)
{
    if (Resetting)
        return;
    Log = row >= 0 && static_cast<std::size_t>(row) < Logs.Count() ? &Logs[static_cast<std::size_t>(row)]
                                                                           : nullptr;
    RefreshFields();
}

void TLogSetupForm::EdtNameEdited(const QString& text)
{
    if (Resetting || !Log)
        return;
    const std::string name = text.toStdString();
    if (name == Log->Name)
        return;
    const int row = EditedRow();
    if (QListWidgetItem* item = LbxLogs->item(row)) {
        item->setText(text);
        Resetting = true;
        LbxLogs->setCurrentRow(row);
        Resetting = false;
    }
    const std::string oldName = Log->Name;
    Log->Name = name;
    // By position: two logs may share a name, and only the edited one is renamed.
    Host.LogRenamed(*Log, oldName, row + 1);
}

bool TLogSetupForm::RefuseOpenLog()
{
    if (!Log || !Log->Window)
        return false;
    Env.Ui.Message("This log is open now", tarvex::TMsgKind::Warning, tarvex::TMsgButtons::OK);
    return true;
}

void TLogSetupForm::CmbStyleChosen(int pos)
{
    if (Resetting || !Log)
        return;
    const int style = tarvex::StyleOfDialogPos(pos);
    if (style < 0 || style == Log->Style)
        return;
    if (RefuseOpenLog()) {
        Resetting = true;
        CmbStyle->setCurrentIndex(tarvex::DialogPosOfStyle(Log->Style));
        Resetting = false;
        return;
    }
    Log = Logs.ChangeStyle(Log, style);
    // The fields follow the new log: a style without a mailer folder shows none.
    RefreshFields();
    Host.LogsChanged();
}

void TLogSetupForm::EdtPathEdited(const QString& text)
{
    if (Resetting || !Log)
        return;
    Log->Path = text.toStdString();
    UpdateWarnings();
}

void TLogSetupForm::EdtMailerPathEdited(const QString& text)
{
    if (Resetting || !Log)
        return;
    if (auto* mailer = dynamic_cast<TMailerLog*>(Log))
        mailer->MailerPath = text.toStdString();
    UpdateWarnings();
    // The T-mail menu shows once a T-mail log has a mailer folder.
    Host.LogsChanged();
}

void TLogSetupForm::ChkAutoNewToggled(bool on)
{
    if (!Resetting && Log)
        Log->AutoNew = on;
}

void TLogSetupForm::EdtCutSizeEdited(const QString& text)
{
    if (!Resetting && Log)
        Log->CutSize = TDigitsValidator::Value(text);
}

void TLogSetupForm::RadCutUnitClicked(int unit)
{
    if (!Resetting && Log)
        Log->CutMode = static_cast<std::uint8_t>(unit);
}

void TLogSetupForm::ChkUpdateDLCToggled(bool on)
{
    if (Resetting || !Log)
        return;
    if (auto* mailer = dynamic_cast<TMailerLog*>(Log))
        mailer->UpdateDLC = on;
}

void TLogSetupForm::BtnNewClick()
{
    auto fresh = tarvex::CreateLog(tarvex::lsOther);
    TLog* log = fresh.get();
    Host.AddLog(std::move(fresh));
    Resetting = true;
    LbxLogs->addItem(Q(log->Name));
    LbxLogs->setCurrentRow(LbxLogs->count() - 1);
    Resetting = false;
    Log = log;
    RefreshFields();
    Host.LogsChanged();
    EdtName->setFocus();
    EdtName->selectAll();
}

void TLogSetupForm::BtnDeleteClick()
{
    const int row = EditedRow();
    if (row < 0 || RefuseOpenLog())
        return;
    Resetting = true;
    delete LbxLogs->takeItem(row);
    LbxLogs->setCurrentRow(-1);
    LbxLogs->clearSelection();
    Resetting = false;
    TLog* gone = Log;
    Log = nullptr;
    Host.RemoveLog(gone);
    RefreshFields();
    Host.LogsChanged();
}

void TLogSetupForm::BtnLogOptionsClick()
{
    if (!Log || !Log->HasOptions)
        return;
    // An open window analyses its text again when the options change; a closed log just
    // keeps them for its next opening.
    Host.EditLogOptions(*Log);
}

void TLogSetupForm::BtnBrowsePathClick()
{
    if (!Log)
        return;
    QFileDialog dialog(this, "Select file", StartFolder(EdtPath->text(), false), "Log Files (*.log);;All Files (*)");
    dialog.setObjectName("SelectLogFile");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !Log)
        return;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    EdtPath->setText(path);
    EdtPathEdited(path);
}

void TLogSetupForm::BtnBrowseMailerClick()
{
    if (!Log || !Log->IsMailer())
        return;
    QFileDialog dialog(this, "Select directory", StartFolder(EdtMailerPath->text(), true));
    dialog.setObjectName("SelectMailerDirectory");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || !Log)
        return;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    EdtMailerPath->setText(path);
    EdtMailerPathEdited(path);
}
