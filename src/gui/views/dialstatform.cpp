#include "views/dialstatform.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/appsettings.h"
#include "app/childform.h"
#include "app/frameform.h"
#include "base/datetime.h"
#include "base/errors.h"
#include "log/mailerlog.h"
#include "report/reportwriter.h"
#include "views/dialstatmodel.h"
#include "views/plaincelldelegate.h"
#include "views/slsetupform.h"
#include "views/viewparts.h"

using namespace tarvex;

TDialStatForm::TDialStatForm(TChildForm* owner) : QWidget(owner, Qt::Window), Owner(owner)
{
    setObjectName("DialStatForm");
    setAttribute(Qt::WA_DeleteOnClose);
    QString title = "Dial statistics";
    if (owner->Log)
        title += " - " + QString::fromStdString(owner->Log->Name);
    setWindowTitle(title);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    SetupBtn = AddBarButton(this, bar, "SetupBtn", "Setup", "Setup dial statistics");
    ReportBtn = AddBarButton(this, bar, "ReportBtn", "Report", "Write report");
    DayLabel = new QLabel(this);
    DayLabel->setObjectName("DayLabel");
    bar->addSpacing(8);
    bar->addWidget(DayLabel);
    bar->addStretch(1);
    layout->addLayout(bar);

    Grid = new QTableView(this);
    Grid->setObjectName("DialGrid");
    Model = new TDialStatModel(this);
    Grid->setModel(Model);
    Grid->setItemDelegate(new TPlainCellDelegate(this));
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    SetUpRecordGrid(Grid, true);
    layout->addWidget(Grid, 1);

    CloseBtn = AddCloseRow(this, layout);

    connect(SetupBtn, &QToolButton::clicked, this, &TDialStatForm::SetupBtnClick);
    connect(ReportBtn, &QToolButton::clicked, this, &TDialStatForm::ReportBtnClick);
    connect(Grid->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { ColumnMoved(from, to); });

    AskReportFile = [this] {
        return QFileDialog::getSaveFileName(this, "Save dial statistics", QString(),
                                            "Report files (*.REP);;All files (*)");
    };
    ExecSetup = [](TSLSetupForm& dialog) { return dialog.exec(); };

    RestorePlacement(this, Owner->Frame()->Store(), Section(), 330, 300);
}

std::string TDialStatForm::Section() const { return (Owner->Log ? Owner->Log->Name : std::string()) + ".DialStat"; }

std::vector<int> TDialStatForm::GridWidths() const { return HeaderWidths(Grid->horizontalHeader()); }

void TDialStatForm::Open(TMailerLog* log)
{
    Log = log;
    const ISettingsStore& store = Owner->Frame()->Store();
    const std::string section = Section();
    Columns.Load(store, section, DialStatColumnFactory(), DialStatDefaultColumns());
    // The highlighted addresses are the session list's: one list for both windows.
    Highlight.Clear();
    try {
        Highlight.Load(store, (Owner->Log ? Owner->Log->Name : std::string()) + ".SessList", "Highlight");
    } catch (const EConvertError& e) {
        Owner->Frame()->Ui().Message(e.what(), TMsgKind::Error, TMsgButtons::OK);
    }
    RepHeader = store.ReadString(section, "RepHeader", "");
    RepFooter = store.ReadString(section, "RepFooter", "");
    Grid->verticalHeader()->setDefaultSectionSize(FontHeight(Grid->font()) + 2);
    FillGrid();
}

void TDialStatForm::SetDay(std::int32_t dayIndex)
{
    if (!Log || dayIndex == DayIndex || dayIndex < 0 || dayIndex >= static_cast<std::int32_t>(Log->Days.size()))
        return;
    DayIndex = dayIndex;
    Day = Log->Day(dayIndex);
    DayLabel->setText(QString::fromStdString(FormatDDMMMYY(Day.Date)));
    FillGrid();
}

void TDialStatForm::FillGrid()
{
    ++FillCount;
    std::vector<const TColumnOf<TNodeStat>*> shown;
    for (const auto* c : Columns.ScreenColumns())
        shown.push_back(c);
    Model->Reset(Log, DayIndex, shown, &Highlight, Grid->font());
    QHeaderView* header = Grid->horizontalHeader();
    for (std::size_t k = 0; k < shown.size(); ++k)
        header->resizeSection(static_cast<int>(k), shown[k]->ScrWidth);
}

void TDialStatForm::ColumnMoved(int from, int to)
{
    Columns.TakeGridWidths(GridWidths());
    UndoSectionMove(Grid->horizontalHeader(), from, to);
    Columns.MoveGridColumn(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    FillGrid();
}

void TDialStatForm::SetupBtnClick()
{
    TSLSetupForm dialog("Dial statistics setup", TypeNameList(DialStatColumnNames), this);
    Columns.TakeGridWidths(GridWidths());
    FillSetupDialog(dialog, ColumnPointers(Columns), Highlight, RepHeader, RepFooter);
    if (ExecSetup(dialog) != QDialog::Accepted)
        return;
    if (dialog.Modified) {
        ReplaceColumns(Columns, dialog, DialStatColumnFactory());
        FillGrid();
    }
    Grid->viewport()->update();
    TakeSetupResults(dialog, Highlight, RepHeader, RepFooter, Owner->Frame()->Ui());
}

void TDialStatForm::ReportBtnClick()
{
    IUserInterface& ui = Owner->Frame()->Ui();
    if (Columns.NumFile == 0) {
        ui.Message("No file columns defined!", TMsgKind::Error, TMsgButtons::OK);
        return;
    }
    const QString file = AskReportFile();
    if (file.isEmpty() || !Log)
        return;
    TReportOptions options{RepHeader, RepFooter, file.toStdString()};
    TReportStyle style;
    style.Now = LocalNow;
    std::span<const TNodeStat> nodes;
    if (DayIndex >= 0 && static_cast<std::size_t>(DayIndex) < Log->DayStats.size())
        nodes = Log->DayStats[static_cast<std::size_t>(DayIndex)];
    std::string error;
    if (!WriteReport<TNodeStat>(Columns, options, nodes, ui, style, error))
        ui.Message(error, TMsgKind::Error, TMsgButtons::OK);
}

void TDialStatForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TDialStatForm::SaveState()
{
    if (Saved || !Owner || !Owner->Log)
        return;
    Saved = true;
    ISettingsStore& store = Owner->Frame()->Store();
    const std::string section = Section();
    Columns.Save(store, section, GridWidths());
    Highlight.Save(store, Owner->Log->Name + ".SessList", "Highlight");
    store.WriteString(section, "RepHeader", RepHeader);
    store.WriteString(section, "RepFooter", RepFooter);
}

void TDialStatForm::closeEvent(QCloseEvent* event)
{
    SaveState();
    if (Owner->DialStat == this)
        Owner->DialStat = nullptr;
    event->accept();
}
