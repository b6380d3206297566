#include "views/sesslistform.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/busycursor.h"
#include "log/mailerlog.h"
#include "log/navigation.h"
#include "report/reportwriter.h"
#include "views/sesslistmodel.h"
#include "views/slsetupform.h"
#include "views/viewparts.h"

using namespace tarvex;

namespace {

// The first character of a locale's format that is not part of a field: its separator.
// A format that writes month names has blanks between its fields: the fallback is taken then.
char SeparatorOf(const QString& format, char fallback)
{
    for (const QChar c : format)
        if (!c.isLetter() && c != '\'' && c.unicode() < 128)
            return c.isPunct() ? static_cast<char>(c.unicode()) : fallback;
    return fallback;
}

// A long but ordinary text of each column type (by ColType): what a column the user has not
// sized opens wide enough to show.
constexpr const char* kTypical[kSessColumnTypes] = {
    "28/12 23:59:59", "10:59:59", "Out 2:5020/1234.56", "Quiet Harbour Station", "Alexander Petrov", "BAD", "Err",
    "999", "999", "99999999", "99999999", "99999",
};

}  // namespace

TSessListForm::TSessListForm(const TGuiEnv& env, IViewHost& host, QWidget* parent)
    : TViewForm(env, host, TViewKind::SessList, parent, "SessListForm", "Session list")
{
    auto* layout = AddEdgeToEdgeLayout(this);
    AddSetupReportBar(this, layout, "Setup session list", SetupBtn, ReportBtn)->addStretch(1);

    Grid = new QTableView(this);
    Grid->setObjectName("SessGrid");
    Model = new TSessListModel(this);
    Delegate = new TSessListDelegate([this](TColorItem item) { return Env.Colors.Color(item); }, this);
    Grid->setModel(Model);
    Grid->setItemDelegate(Delegate);
    Grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SetUpRecordGrid(Grid, true);
    Grid->installEventFilter(this);
    AddNodeHistoryAction(Grid, [this](int row) -> std::optional<TFidoAddr> {
        if (!Log || row >= Log->SessCount)
            return std::nullopt;
        return Log->Session(row).Addr;
    });
    layout->addWidget(Grid, 1);

    CloseBtn = AddCloseRow(this, layout);

    connect(SetupBtn, &QToolButton::clicked, this, &TSessListForm::SetupBtnClick);
    connect(ReportBtn, &QToolButton::clicked, this, &TSessListForm::ReportBtnClick);
    connect(Grid, &QTableView::pressed, this, [this](const QModelIndex& index) { Navigate(index.row()); });
    connect(Grid->horizontalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { ColumnMoved(from, to); });

    AskReportFile = [this] {
        return QFileDialog::getSaveFileName(this, "Save session report", QString(),
                                            "Report files (*.REP);;All files (*)");
    };
    ExecSetup = [](TSLSetupForm& dialog) { return dialog.exec(); };

    // The placement the log window stored when the list was last open.
    PlaceAsStored(420, 300);
}

// The state is saved on closing: the log window closes the list before it goes itself.
TSessListForm::~TSessListForm() = default;

TDateFormat TSessListForm::DateFormat() const
{
    const QLocale locale;
    TDateFormat f;
    f.DateSep = SeparatorOf(locale.dateFormat(QLocale::ShortFormat), '/');
    f.TimeSep = SeparatorOf(locale.timeFormat(QLocale::ShortFormat), ':');
    return f;
}

void TSessListForm::Open(std::int32_t caretLine)
{
    Log = Host.ViewedLog();
    Codec.SetCodePage(Host.TextCodePage());
    const std::string section = Section();
    Columns.Load(Env.Store, section, SessColumnFactory(DateFormat()), SessListDefaultColumns(),
                 OpeningWidths<TSess>(Grid, kTypical));
    LoadHighlightAndTemplates(*this, Env.Store, section, section, Env.Ui);
    FitRowsToFont(Grid);
    FillGrid();
    WidenToShow(Grid);

    const std::int32_t select = Log ? NextSessionIndex(*Log, caretLine) : -1;
    if (select >= 0) {
        const QModelIndex index = Model->index(select, 0);
        Grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Grid->scrollTo(index, QAbstractItemView::PositionAtTop);
    }
    show();
}

void TSessListForm::FillGrid()
{
    TBusyCursor busy(Env.Ui);
    const int current = Grid->currentIndex().row();
    const auto shown = Columns.ScreenColumns();
    Model->Reset(Log, shown, &Highlight, &Codec);
    SizeGridColumns(Grid->horizontalHeader(), shown);
    if (current >= 0 && current < Model->rowCount())
        Grid->selectionModel()->setCurrentIndex(Model->index(current, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TSessListForm::DropRecords()
{
    DroppedRow = Grid->currentIndex().row();
    Log = nullptr;
    FillGrid();
}

void TSessListForm::ShowRecords()
{
    Log = Host.ViewedLog();
    FillGrid();
    SelectSession(DroppedRow);
}

void TSessListForm::RecordsGrew(const TPassGrowth& growth)
{
    if (!Log)
        return;
    // A list scrolled to its end stays there, as the log window does with its last line.
    const QScrollBar* bar = Grid->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    Model->Grew(growth.FirstSession);
    if (atEnd)
        Grid->scrollToBottom();
}

void TSessListForm::Repaint() { Grid->viewport()->update(); }

std::vector<int> TSessListForm::GridWidths() const { return HeaderWidths(Grid->horizontalHeader()); }

void TSessListForm::SelectSession(std::int32_t index)
{
    if (Navigating || index < 0 || index >= Model->rowCount())
        return;
    const QModelIndex i = Model->index(index, std::max(0, Grid->currentIndex().column()));
    Grid->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid->scrollTo(i);
}

void TSessListForm::Navigate(int row)
{
    if (!Log || row < 0 || row >= Log->SessCount)
        return;
    Navigating = true;
    emit LineChosen(Log->Session(row).StartLine);
    Navigating = false;
}

void TSessListForm::ColumnMoved(int from, int to) { TakeColumnMove(*this, from, to); }

void TSessListForm::SetupBtnClick()
{
    TSLSetupForm dialog("Session list setup", TypeNameList(SessColumnNames), this);
    RunColumnSetup(*this, dialog, SessColumnFactory(DateFormat()), Env.Ui);
}

void TSessListForm::ReportBtnClick()
{
    IUserInterface& ui = Env.Ui;
    const QString file = AskReportTarget(*this, ui);
    if (file.isEmpty() || !Log)
        return;
    TReportStyle style;
    style.Format = DateFormat();
    const TRecordsView<TSess> sessions(Log->Sessions, static_cast<std::size_t>(Log->SessCount));
    WriteViewReport(*this, file, sessions, style, ui);
}

QString TSessListForm::SelectedRowsText() const
{
    QList<int> rows;
    for (const QModelIndex& i : Grid->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    const QHeaderView* header = Grid->horizontalHeader();
    QString text;
    for (int row : rows) {
        for (int v = 0; v < header->count(); ++v) {
            if (v)
                text += '\t';
            text += Model->CellText(row, header->logicalIndex(v));
        }
        text += '\n';
    }
    return text;
}

void TSessListForm::CopyRows()
{
    const QString text = SelectedRowsText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

bool TSessListForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopyRows();
            return true;
        }
        const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (mods == Qt::NoModifier && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            const QModelIndex current = Grid->currentIndex();
            if (current.isValid())
                Navigate(current.row());
            return true;
        }
        if (mods == Qt::NoModifier && key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSessListForm::SaveState()
{
    const std::string section = Section();
    SaveColumnView(*this, Env.Store, section, section);
}
