#include "views/freqform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/grids.h"
#include "log/mailerlog.h"
#include "views/freqmodel.h"
#include "views/plaincelldelegate.h"
#include "views/viewparts.h"

using namespace tarvex;

namespace {

// Where the grid's column widths are kept: the window class and the grid's name.
constexpr const char* kWidthSection = "TFreqFormFreqGrid";
constexpr TColumnDesign kDesign[3] = {{93, "2:5020/1234.56"}, {98, "NODELIST.Z99"}, {64, "Fail"}};

}  // namespace

TFreqForm::TFreqForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::FreqList, parent, "FreqForm", "File requests")
{
    auto* layout = AddEdgeToEdgeLayout(this);
    Grid = new QTableView(this);
    Grid->setObjectName("FreqGrid");
    Model = new TFreqModel(this);
    Grid->setModel(Model);
    Grid->setItemDelegate(new TPlainCellDelegate(this));
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    SetUpRecordGrid(Grid, false);
    Grid->installEventFilter(this);
    AddNodeHistoryAction(Grid, [this](int row) -> std::optional<TFidoAddr> {
        if (row >= Model->rowCount())
            return std::nullopt;
        return Model->Freq(row).Addr;
    });
    layout->addWidget(Grid, 1);

    CloseBtn = AddCloseRow(this, layout);

    PlaceAsStored(290, 300);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { RowChanged(current.row()); });
}

int TFreqForm::StartRow(int firstNewFreq, int count)
{
    if (firstNewFreq >= 0 && firstNewFreq < count)
        return firstNewFreq;
    return count - 1;
}

void TFreqForm::Open()
{
    RestoreItemWidths(Grid, Env.Store, kWidthSection, kDesign);
    FitRowsToFont(Grid);
    WidenToShow(Grid);
    // Shown first: the grid can only put a row at the top once it has its height.
    show();
    ShowRecords();
}

void TFreqForm::DropRecords()
{
    Log = nullptr;
    Model->Reset(nullptr, Env.Settings.FreqRealName);
}

void TFreqForm::ShowRecords()
{
    Updating = true;
    Log = Host.ViewedLog();
    Model->Reset(Log, Env.Settings.FreqRealName);
    const int row = Log ? StartRow(Log->FirstNewFreq, Model->rowCount()) : -1;
    if (row >= 0) {
        const QModelIndex index = Model->index(row, 0);
        Grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Grid->scrollTo(index, QAbstractItemView::PositionAtTop);
    }
    Updating = false;
}

void TFreqForm::RecordsGrew(const TPassGrowth& growth)
{
    if (Log)
        Model->Grew(growth.FirstFreq);
}

void TFreqForm::RowChanged(int row)
{
    if (Updating || !Log || row < 0 || row >= Model->rowCount())
        return;
    emit LineChosen(Model->Freq(row).LineNo);
}

bool TFreqForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (mods == Qt::NoModifier && key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFreqForm::SaveState() { StoreItemWidths(Grid, Env.Store, kWidthSection); }
