#include "views/freqform.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/appsettings.h"
#include "app/childform.h"
#include "app/frameform.h"
#include "log/mailerlog.h"
#include "views/freqmodel.h"
#include "views/gridwidths.h"
#include "views/plaincelldelegate.h"
#include "views/viewparts.h"

using namespace tarvex;

namespace {

// Where the grid's column widths are kept: the window class and the grid's name.
constexpr const char* kWidthSection = "TFreqFormFreqGrid";
constexpr TColumnDesign kDesign[3] = {{93, "2:5020/1234.56"}, {98, "NODELIST.Z99"}, {64, "Fail"}};

}  // namespace

TFreqForm::TFreqForm(TChildForm* owner) : QWidget(owner, Qt::Window), Owner(owner)
{
    StartViewWindow(this, "FreqForm", "File requests", owner->Log);
    auto* layout = AddEdgeToEdgeLayout(this);
    Grid = new QTableView(this);
    Grid->setObjectName("FreqGrid");
    Model = new TFreqModel(this);
    Grid->setModel(Model);
    Grid->setItemDelegate(new TPlainCellDelegate(this));
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    SetUpRecordGrid(Grid, false);
    Grid->installEventFilter(this);
    layout->addWidget(Grid, 1);

    CloseBtn = AddCloseRow(this, layout);

    RestorePlacement(this, Owner->Frame()->Store(), Section(), 290, 300, Owner->ViewOpeningPos(), Owner->ViewArea());
}

std::string TFreqForm::Section() const { return ViewSection(Owner->Log, ".FreqList"); }

int TFreqForm::StartRow(int firstNewFreq, int count)
{
    if (firstNewFreq >= 0 && firstNewFreq < count)
        return firstNewFreq;
    return count - 1;
}

void TFreqForm::Open(TMailerLog* log)
{
    Log = log;
    Updating = true;
    Model->Reset(log, Owner->Frame()->AppSettings.FreqRealName);
    const ISettingsStore& store = Owner->Frame()->Store();
    RestoreItemWidths(Grid, store, kWidthSection, kDesign);
    FitRowsToFont(Grid);
    WidenToShowGrid(this, Grid, store, Section(), Owner->ViewArea());
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { RowChanged(current.row()); });
    // Shown first: the grid can only put a row at the top once it has its height.
    show();
    const int row = StartRow(log->FirstNewFreq, Model->rowCount());
    if (row >= 0) {
        const QModelIndex index = Model->index(row, 0);
        Grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Grid->scrollTo(index, QAbstractItemView::PositionAtTop);
    }
    Updating = false;
}

void TFreqForm::RowChanged(int row)
{
    if (Updating || !Log || row < 0 || row >= Model->rowCount())
        return;
    Owner->GotoLine(Model->Freq(row).LineNo);
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

void TFreqForm::SaveWidths()
{
    if (Saved)
        return;
    Saved = true;
    StoreItemWidths(Grid, Owner->Frame()->Store(), kWidthSection);
}

void TFreqForm::closeEvent(QCloseEvent* event)
{
    SaveWidths();
    if (Owner->FreqList == this)
        Owner->FreqList = nullptr;
    event->accept();
}
