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

#include "app/childform.h"
#include "app/frameform.h"
#include "base/datetime.h"
#include "log/mailerlog.h"
#include "report/reportwriter.h"
#include "views/dialstatmodel.h"
#include "views/plaincelldelegate.h"
#include "views/slsetupform.h"
#include "views/viewparts.h"

using namespace tarvex;

namespace {

// A long but ordinary text of each column type (by ColType): what a column the user has not
// sized opens wide enough to show.
constexpr const char* kTypical[kDialStatColumnTypes] = {
    "2:5020/1234.56", "999", "999", "999", "999", "999", "99999999", "99999999", "99:59:59", "99999",
};

}  // namespace

TDialStatForm::TDialStatForm(TChildForm* owner) : QWidget(owner, Qt::Window), Owner(owner)
{
    StartViewWindow(this, "DialStatForm", "Dial statistics", owner->Log);
    auto* layout = AddEdgeToEdgeLayout(this);
    QHBoxLayout* bar = AddSetupReportBar(this, layout, "Setup dial statistics", SetupBtn, ReportBtn);
    DayLabel = new QLabel(this);
    DayLabel->setObjectName("DayLabel");
    bar->addSpacing(8);
    bar->addWidget(DayLabel);
    bar->addStretch(1);

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

    RestorePlacement(this, Owner->Frame()->Store(), Section(), 330, 300, Owner->ViewOpeningPos(), Owner->ViewArea());
}

std::string TDialStatForm::Section() const { return ViewSection(Owner->Log, ".DialStat"); }

std::vector<int> TDialStatForm::GridWidths() const { return HeaderWidths(Grid->horizontalHeader()); }

void TDialStatForm::Open(TMailerLog* log)
{
    Log = log;
    const ISettingsStore& store = Owner->Frame()->Store();
    const std::string section = Section();
    Columns.Load(store, section, DialStatColumnFactory(), DialStatDefaultColumns(),
                 OpeningWidths<TNodeStat>(Grid, kTypical));
    // The highlighted addresses are the session list's: one list for both windows.
    LoadHighlightAndTemplates(*this, store, section, ViewSection(Owner->Log, ".SessList"), Owner->Frame()->Ui());
    FitRowsToFont(Grid);
    FillGrid();
    WidenToShowGrid(this, Grid, store, section, Owner->ViewArea());
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
    const auto shown = Columns.ScreenColumns();
    Model->Reset(Log, DayIndex, shown, &Highlight, Grid->font());
    SizeGridColumns(Grid->horizontalHeader(), shown);
}

void TDialStatForm::ColumnMoved(int from, int to) { TakeColumnMove(*this, from, to); }

void TDialStatForm::SetupBtnClick()
{
    TSLSetupForm dialog("Dial statistics setup", TypeNameList(DialStatColumnNames), this);
    RunColumnSetup(*this, dialog, DialStatColumnFactory(), Owner->Frame()->Ui());
}

void TDialStatForm::ReportBtnClick()
{
    IUserInterface& ui = Owner->Frame()->Ui();
    const QString file = AskReportTarget(*this, ui);
    if (file.isEmpty() || !Log)
        return;
    std::span<const TNodeStat> nodes;
    if (DayIndex >= 0 && static_cast<std::size_t>(DayIndex) < Log->DayStats.size())
        nodes = Log->DayStats[static_cast<std::size_t>(DayIndex)];
    WriteViewReport(*this, file, nodes, TReportStyle(), ui);
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
    SaveColumnView(*this, Owner->Frame()->Store(), Section(), ViewSection(Owner->Log, ".SessList"));
}

void TDialStatForm::closeEvent(QCloseEvent* event)
{
    SaveState();
    if (Owner->DialStat == this)
        Owner->DialStat = nullptr;
    event->accept();
}
