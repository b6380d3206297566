#include "views/nodehistoryform.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "log/mailerlog.h"
#include "report/reportwriter.h"
#include "views/daychart.h"
#include "views/nodehistorymodel.h"
#include "views/plaincelldelegate.h"
#include "views/slsetupform.h"
#include "views/viewparts.h"

using namespace tarvex;

namespace {

// A long but ordinary text of each column type (by ColType).
constexpr const char* kTypical[kNodeHistColumnTypes] = {
    "28 Dec 26", "999", "999", "999", "999", "999", "999", "999999999", "999999999", "99:59:59", "99999",
};

}  // namespace

TNodeHistoryForm::TNodeHistoryForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::NodeHist, parent, "NodeHistoryForm", "Node history")
{
    auto* layout = AddEdgeToEdgeLayout(this);
    QHBoxLayout* bar = AddSetupReportBar(this, layout, "Setup node history", SetupBtn, ReportBtn);
    NodeLabel = new QLabel(this);
    NodeLabel->setObjectName("NodeLabel");
    bar->addSpacing(8);
    bar->addWidget(NodeLabel);
    bar->addStretch(1);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName("NodeHistorySplit");
    Chart = new TDayChart([this](TColorItem item) { return Env.Colors.Color(item); }, split);
    Chart->ShowHumanKey(false);
    Grid = new QTableView(split);
    Grid->setObjectName("NodeHistGrid");
    Model = new TNodeHistoryModel(this);
    Grid->setModel(Model);
    Grid->setItemDelegate(new TPlainCellDelegate(this));
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    SetUpRecordGrid(Grid, true);
    Grid->installEventFilter(this);
    split->addWidget(Chart);
    split->addWidget(Grid);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);

    CloseBtn = AddCloseRow(this, layout);

    connect(SetupBtn, &QToolButton::clicked, this, &TNodeHistoryForm::SetupBtnClick);
    connect(ReportBtn, &QToolButton::clicked, this, &TNodeHistoryForm::ReportBtnClick);
    connect(Grid, &QTableView::pressed, this, [this](const QModelIndex& index) { ChooseRow(index.row()); });
    connect(Chart, &TDayChart::DayClicked, this, &TNodeHistoryForm::ChooseDay);
    connect(Grid->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { ColumnMoved(from, to); });

    AskReportFile = [this] {
        return QFileDialog::getSaveFileName(this, "Save node history", QString(), "Report files (*.REP);;All files (*)");
    };
    ExecSetup = [](TSLSetupForm& dialog) { return dialog.exec(); };

    PlaceAsStored(640, 480);
}

std::vector<int> TNodeHistoryForm::GridWidths() const { return HeaderWidths(Grid->horizontalHeader()); }

void TNodeHistoryForm::Open(const TFidoAddr& addr)
{
    Addr = addr;
    Log = Host.ViewedLog();
    const std::string section = Section();
    Columns.Load(Env.Store, section, NodeHistColumnFactory(), NodeHistDefaultColumns(),
                 OpeningWidths<TNodeDay>(Grid, kTypical));
    RepHeader = Env.Store.ReadString(section, "RepHeader", "");
    RepFooter = Env.Store.ReadString(section, "RepFooter", "");
    FitRowsToFont(Grid);
    Rebuild();
    WidenToShow(Grid);
    show();
}

void TNodeHistoryForm::Rebuild()
{
    const QString node = QString::fromStdString(Addr.ToString());
    setWindowTitle("Node history " + node + (Log ? " - " + QString::fromStdString(Log->Name) : QString()));
    Rows.clear();
    std::vector<TDayBar> bars;
    if (Log) {
        Rows = BuildNodeHistory(*Log, Addr);
        bars = NodeHistoryBars(*Log, Rows);
    }
    const std::size_t days = Rows.empty() ? 0 : Rows.size() - 1;
    NodeLabel->setText(days == 0 ? node + ": not in this log" : QString("%1: %2 of %3 days").arg(node).arg(days).arg(bars.size()));
    Chart->SetBars(std::move(bars));
    FillGrid();
}

void TNodeHistoryForm::FillGrid()
{
    const auto shown = Columns.ScreenColumns();
    Model->Reset(Log ? &Rows : nullptr, shown, Grid->font());
    SizeGridColumns(Grid->horizontalHeader(), shown);
}

void TNodeHistoryForm::DropRecords()
{
    Log = nullptr;
    Rows.clear();
    Chart->SetBars({});
    FillGrid();
}

void TNodeHistoryForm::ShowRecords()
{
    Log = Host.ViewedLog();
    Rebuild();
}

// The node's rows are taken again (a look-up per day); the row the user is on stays chosen.
void TNodeHistoryForm::RecordsGrew(const TPassGrowth&)
{
    if (!Log)
        return;
    const int row = Grid->currentIndex().row();
    Rebuild();
    if (row >= 0 && row < Model->rowCount())
        Grid->selectionModel()->setCurrentIndex(Model->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TNodeHistoryForm::ChooseRow(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < Rows.size() && !Rows[static_cast<std::size_t>(row)].IsTotal())
        ChooseDay(Rows[static_cast<std::size_t>(row)].Day);
}

void TNodeHistoryForm::ChooseDay(std::int32_t day)
{
    if (!Log || day < 0 || static_cast<std::size_t>(day) >= Log->Days.size())
        return;
    Chart->MarkDay(day);
    // The grid's row of the day, when the node appears on it.
    for (std::size_t i = 0; i + 1 < Rows.size(); ++i)
        if (Rows[i].Day == day && Grid->currentIndex().row() != static_cast<int>(i))
            Grid->selectionModel()->setCurrentIndex(Model->index(static_cast<int>(i), 0),
                                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit LineChosen(Log->Day(day).LineNo);
}

void TNodeHistoryForm::ColumnMoved(int from, int to) { TakeColumnMove(*this, from, to); }

void TNodeHistoryForm::SetupBtnClick()
{
    TSLSetupForm dialog("Node history setup", TypeNameList(NodeHistColumnNames), this);
    for (int i = 0; i < dialog.Pages->count(); ++i)
        if (dialog.Pages->tabText(i) == "Highlight")
            dialog.Pages->removeTab(i);
    RunColumnSetup(*this, dialog, NodeHistColumnFactory(), Env.Ui);
}

void TNodeHistoryForm::ReportBtnClick()
{
    IUserInterface& ui = Env.Ui;
    const QString file = AskReportTarget(*this, ui);
    if (file.isEmpty() || !Log)
        return;
    WriteViewReport(*this, file, std::span<const TNodeDay>(Rows), TReportStyle(), ui);
}

bool TNodeHistoryForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ChooseRow(Grid->currentIndex().row());
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TNodeHistoryForm::SaveState()
{
    const std::string section = Section();
    Columns.Save(Env.Store, section, GridWidths());
    Env.Store.WriteString(section, "RepHeader", RepHeader);
    Env.Store.WriteString(section, "RepFooter", RepFooter);
    Env.Store.WriteString(section, "Addr", Addr.ToString());
}
