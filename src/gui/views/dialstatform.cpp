#include "views/dialstatform.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

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

TDialStatForm::TDialStatForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::DialStat, parent, "DialStatForm", "Dial statistics")
{
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
    AddNodeHistoryAction(Grid, [this](int row) -> std::optional<TFidoAddr> {
        if (row >= Model->rowCount())
            return std::nullopt;
        return Model->Node(row).Addr;
    });
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

    PlaceAsStored(330, 300);
}

std::vector<int> TDialStatForm::GridWidths() const { return HeaderWidths(Grid->horizontalHeader()); }

void TDialStatForm::Open()
{
    Log = Host.ViewedLog();
    const std::string section = Section();
    Columns.Load(Env.Store, section, DialStatColumnFactory(), DialStatDefaultColumns(),
                 OpeningWidths<TNodeStat>(Grid, kTypical));
    LoadHighlightAndTemplates(*this, Env.Store, section, HighlightSection(), Env.Ui);
    FitRowsToFont(Grid);
    FillGrid();
    WidenToShow(Grid);
}

void TDialStatForm::DropRecords()
{
    DroppedDay = DayIndex;
    Log = nullptr;
    DayIndex = -1;
    FillGrid();
}

void TDialStatForm::ShowRecords()
{
    Log = Host.ViewedLog();
    SetDay(std::max(DroppedDay, 0));
}

void TDialStatForm::RecordsGrew(const TPassGrowth& growth)
{
    if (!Log || DayIndex < 0 || static_cast<std::size_t>(DayIndex) < growth.FirstNodeDay)
        return;
    // The node that was current stays current, wherever the sorting put it.
    const int row = Grid->currentIndex().row();
    const bool had = row >= 0 && row < Model->rowCount();
    const TFidoAddr addr = had ? Model->Node(row).Addr : TFidoAddr();
    const int column = std::max(0, Grid->currentIndex().column());
    FillGrid();
    for (int r = 0; had && r < Model->rowCount(); ++r)
        if (Equal(Model->Node(r).Addr, addr)) {
            Grid->setCurrentIndex(Model->index(r, column));
            break;
        }
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
    RunColumnSetup(*this, dialog, DialStatColumnFactory(), Env.Ui);
}

void TDialStatForm::ReportBtnClick()
{
    IUserInterface& ui = Env.Ui;
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

void TDialStatForm::SaveState() { SaveColumnView(*this, Env.Store, Section(), HighlightSection()); }
