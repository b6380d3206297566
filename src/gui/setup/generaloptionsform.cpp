#include "setup/generaloptionsform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <climits>

#include "common/dialogbuttons.h"
#include "common/grids.h"
#include "setup/drivemapmodel.h"
#include "viewer/viewercodec.h"

namespace {

QString Shown(const std::string& value) { return QString::fromStdString(value); }

// A one-character field of the counter format. The character goes into files.bbs lists as one
// byte, so only printable ASCII is taken: anything else has no single byte that every code page
// of those lists agrees on.
QLineEdit* CharField(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(1);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1String("WWWW")));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[ -~]?"), edit));
    return edit;
}

std::string CharValue(const QLineEdit* edit, const std::string& filled)
{
    return edit->text() == Shown(filled) ? filled : edit->text().toStdString();
}

std::string CodePageValue(const QComboBox* box, const std::string& filled)
{
    const QString name = box->currentText().trimmed();
    return name == Shown(filled) ? filled : name.toStdString();
}

// A digits-only text as an integer; more than an int holds gives the largest int.
int DigitsValue(const QString& text)
{
    long long v = 0;
    for (const QChar c : text) {
        if (!c.isDigit())
            return 0;
        v = v * 10 + c.digitValue();
        if (v > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(v);
}

QComboBox* CodePageBox(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(TGeneralOptionsForm::CommonCodePages());
    return box;
}

}  // namespace

TGeneralOptionsForm::TGeneralOptionsForm(const TGuiEnv& env, QWidget* parent) : QDialog(parent), Env(env)
{
    setObjectName("TGeneralOptionsForm");
    setWindowTitle("General options");
    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    Pages->setTabPosition(QTabWidget::South);
    Pages->addTab(CreateSettingsPage(), "Settings");
    Pages->addTab(CreateDlcPage(), "DLC");
    Pages->addTab(CreateDrivesPage(), "Drives");
    Pages->addTab(CreateEnvironmentPage(), "Environment");

    const TDialogButtons buttons = MakeDialogButtons(this);
    BtnOK = buttons.OK;
    BtnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addWidget(buttons.Box);
    setMinimumWidth(440);
}

QStringList TGeneralOptionsForm::CommonCodePages()
{
    return {"IBM866", "IBM437", "IBM850", "KOI8-R", "windows-1251", "windows-1252", "ISO-8859-5", "UTF-8"};
}

QWidget* TGeneralOptionsForm::CreateSettingsPage()
{
    auto* page = new QWidget(this);
    ChkSaveDesktop = new QCheckBox("Autosave desktop", page);
    ChkSaveDesktop->setObjectName("ChkSaveDesktop");
    ChkShowDomain = new QCheckBox("Show domain in address", page);
    ChkShowDomain->setObjectName("ChkShowDomain");
    ChkFreqRealName = new QCheckBox("Show real name in freqs", page);
    ChkFreqRealName->setObjectName("ChkFreqRealName");
    ChkOEMConvert = new QCheckBox("OEM conversion", page);
    ChkOEMConvert->setObjectName("ChkOEMConvert");
    CmbOEMCodePage = CodePageBox("CmbOEMCodePage", page);
    CmbANSICodePage = CodePageBox("CmbANSICodePage", page);

    auto* layout = new QVBoxLayout(page);
    for (QCheckBox* c : {ChkSaveDesktop, ChkShowDomain, ChkFreqRealName, ChkOEMConvert})
        layout->addWidget(c);
    auto* pages = new QFormLayout;
    pages->addRow("OEM code page", CmbOEMCodePage);
    pages->addRow("ANSI code page", CmbANSICodePage);
    layout->addLayout(pages);
    layout->addStretch(1);
    return page;
}

QWidget* TGeneralOptionsForm::CreateDlcPage()
{
    auto* page = new QWidget(this);
    EdtDLCLeft = CharField("EdtDLCLeft", page);
    EdtDLCRight = CharField("EdtDLCRight", page);
    EdtDLCDigits = new QLineEdit(page);
    EdtDLCDigits->setObjectName("EdtDLCDigits");
    EdtDLCDigits->setMaximumWidth(EdtDLCDigits->fontMetrics().horizontalAdvance(QLatin1String("99999999")));
    EdtDLCDigits->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), EdtDLCDigits));
    EdtDLCLead = CharField("EdtDLCLead", page);
    ChkDLCBackup = new QCheckBox("Keep backups of files.bbs", page);
    ChkDLCBackup->setObjectName("ChkDLCBackup");

    auto* layout = new QVBoxLayout(page);
    auto* fields = new QFormLayout;
    fields->addRow("Left bracket", EdtDLCLeft);
    fields->addRow("Right bracket", EdtDLCRight);
    fields->addRow("Digits", EdtDLCDigits);
    fields->addRow("Leading char", EdtDLCLead);
    layout->addLayout(fields);
    layout->addWidget(ChkDLCBackup);
    layout->addStretch(1);
    return page;
}

QWidget* TGeneralOptionsForm::CreateDrivesPage()
{
    auto* page = new QWidget(this);
    Drives = new TDriveMapModel(this);
    GrdDrives = new QTableView(page);
    GrdDrives->setObjectName("GrdDrives");
    GrdDrives->setModel(Drives);
    GrdDrives->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdDrives->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdDrives->verticalHeader()->hide();
    GrdDrives->horizontalHeader()->setStretchLastSection(true);
    GrdDrives->setColumnWidth(TDriveMapModel::ColDrive, OpeningColumnWidth(GrdDrives, 60, "Drive", "C:"));

    BtnAddDrive = new QPushButton("Add", page);
    BtnAddDrive->setObjectName("BtnAddDrive");
    BtnRemoveDrive = new QPushButton("Remove", page);
    BtnRemoveDrive->setObjectName("BtnRemoveDrive");
    BtnBrowseDrive = new QPushButton("Browse...", page);
    BtnBrowseDrive->setObjectName("BtnBrowseDrive");
    BtnBrowseDrive->setToolTip("Select directory");
    connect(BtnAddDrive, &QPushButton::clicked, this, &TGeneralOptionsForm::AddDriveClick);
    connect(BtnRemoveDrive, &QPushButton::clicked, this, &TGeneralOptionsForm::RemoveDriveClick);
    connect(BtnBrowseDrive, &QPushButton::clicked, this, &TGeneralOptionsForm::BrowseDriveClick);

    auto* hint = new QLabel("Where the drive letters of mailer paths are on this computer. A letter not "
                            "listed is guessed from the log's mailer path.",
                            page);
    hint->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnAddDrive);
    buttons->addWidget(BtnRemoveDrive);
    buttons->addWidget(BtnBrowseDrive);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addWidget(GrdDrives, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* TGeneralOptionsForm::CreateEnvironmentPage()
{
    auto* page = new QWidget(this);
    Environment = new QStandardItemModel(0, 2, this);
    Environment->setHorizontalHeaderLabels({"Name", "Value"});
    GrdEnvironment = new QTableView(page);
    GrdEnvironment->setObjectName("GrdEnvironment");
    GrdEnvironment->setModel(Environment);
    GrdEnvironment->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdEnvironment->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdEnvironment->verticalHeader()->hide();
    GrdEnvironment->horizontalHeader()->setStretchLastSection(true);
    GrdEnvironment->setColumnWidth(0, 100);

    BtnAddName = new QPushButton("Add", page);
    BtnAddName->setObjectName("BtnAddName");
    BtnRemoveName = new QPushButton("Remove", page);
    BtnRemoveName->setObjectName("BtnRemoveName");
    connect(BtnAddName, &QPushButton::clicked, this, [this] {
        Environment->appendRow({new QStandardItem, new QStandardItem});
        const QModelIndex name = Environment->index(Environment->rowCount() - 1, 0);
        GrdEnvironment->setCurrentIndex(name);
        GrdEnvironment->edit(name);
    });
    connect(BtnRemoveName, &QPushButton::clicked, this, [this] {
        const QModelIndex i = GrdEnvironment->currentIndex();
        if (i.isValid())
            Environment->removeRow(i.row());
    });

    auto* hint = new QLabel("Names that mailer configurations write as %NAME% without defining them, as your "
                            "start-up script sets them (BT = C:\\BT). Names not listed are taken from "
                            "Tarvex's own environment.",
                            page);
    hint->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnAddName);
    buttons->addWidget(BtnRemoveName);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addWidget(GrdEnvironment, 1);
    layout->addLayout(buttons);
    return page;
}

void TGeneralOptionsForm::SetValues(const TAppSettings& s)
{
    Filled = s;
    ChkSaveDesktop->setChecked(s.SaveDesktop);
    ChkShowDomain->setChecked(s.ShowDomain);
    ChkFreqRealName->setChecked(s.FreqRealName);
    ChkOEMConvert->setChecked(s.OEMConvert);
    CmbOEMCodePage->setCurrentText(Shown(s.OEMCodePage));
    CmbANSICodePage->setCurrentText(Shown(s.ANSICodePage));
    EdtDLCLeft->setText(Shown(s.DLCLeft));
    EdtDLCRight->setText(Shown(s.DLCRight));
    EdtDLCDigits->setText(QString::number(s.DLCDigits));
    EdtDLCLead->setText(Shown(s.DLCLead));
    ChkDLCBackup->setChecked(s.DLCBackup);
    Drives->SetMap(s.Drives);
    Environment->removeRows(0, Environment->rowCount());
    for (const auto& [name, value] : s.Environment)
        Environment->appendRow({new QStandardItem(Shown(name)), new QStandardItem(Shown(value))});
}

void TGeneralOptionsForm::GetValues(TAppSettings& s) const
{
    s.SaveDesktop = ChkSaveDesktop->isChecked();
    s.ShowDomain = ChkShowDomain->isChecked();
    s.FreqRealName = ChkFreqRealName->isChecked();
    s.OEMConvert = ChkOEMConvert->isChecked();
    s.OEMCodePage = CodePageValue(CmbOEMCodePage, Filled.OEMCodePage);
    s.ANSICodePage = CodePageValue(CmbANSICodePage, Filled.ANSICodePage);
    s.DLCLeft = CharValue(EdtDLCLeft, Filled.DLCLeft);
    s.DLCRight = CharValue(EdtDLCRight, Filled.DLCRight);
    const QString digits = EdtDLCDigits->text();
    s.DLCDigits = digits == QString::number(Filled.DLCDigits) ? Filled.DLCDigits : DigitsValue(digits);
    s.DLCLead = CharValue(EdtDLCLead, Filled.DLCLead);
    s.DLCBackup = ChkDLCBackup->isChecked();
    s.Drives = Drives->Map();
    s.Environment.clear();
    for (int row = 0; row < Environment->rowCount(); ++row) {
        const std::string name = Environment->item(row, 0)->text().trimmed().toStdString();
        if (!name.empty())
            s.Environment[name] = Environment->item(row, 1)->text().toStdString();
    }
}

bool TGeneralOptionsForm::CheckCodePage(QComboBox* combo)
{
    const QString name = combo->currentText().trimmed();
    if (!name.isEmpty() && ViewerCodec::IsKnown(name))
        return true;
    Pages->setCurrentIndex(0);
    combo->setFocus();
    Env.Ui.Message(name.isEmpty() ? std::string("A code page must be named")
                              : "Unknown code page \"" + name.toStdString() + "\"",
               tarvex::TMsgKind::Warning, tarvex::TMsgButtons::OK);
    return false;
}

void TGeneralOptionsForm::accept()
{
    if (!CheckCodePage(CmbOEMCodePage) || !CheckCodePage(CmbANSICodePage))
        return;
    QDialog::accept();
}

int TGeneralOptionsForm::CurrentDriveRow() const
{
    const QModelIndex i = GrdDrives->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TGeneralOptionsForm::AddDriveClick()
{
    const int row = Drives->AddRow();
    if (row < 0)
        return;
    GrdDrives->setCurrentIndex(Drives->index(row, TDriveMapModel::ColFolder));
    GrdDrives->edit(GrdDrives->currentIndex());
}

void TGeneralOptionsForm::RemoveDriveClick() { Drives->RemoveRow(CurrentDriveRow()); }

void TGeneralOptionsForm::BrowseDriveClick()
{
    int row = CurrentDriveRow();
    if (row < 0)
        row = Drives->AddRow();
    if (row < 0)
        return;
    QFileDialog dialog(this, "Select directory", Drives->Folder(row));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    Drives->SetFolder(row, dialog.selectedFiles().constFirst());
    GrdDrives->setCurrentIndex(Drives->index(row, TDriveMapModel::ColFolder));
}
