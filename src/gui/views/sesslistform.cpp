#include "views/sesslistform.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/childform.h"
#include "app/frameform.h"
#include "log/mailerlog.h"
#include "report/reportwriter.h"
#include "viewer/logviewer.h"
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

TSessListForm::TSessListForm(TChildForm* owner) : QWidget(owner, Qt::Window), Owner(owner)
{
    StartViewWindow(this, "SessListForm", "Session list", owner->Log);
    auto* layout = AddEdgeToEdgeLayout(this);
    AddSetupReportBar(this, layout, "Setup session list", SetupBtn, ReportBtn)->addStretch(1);

    Grid = new QTableView(this);
    Grid->setObjectName("SessGrid");
    Model = new TSessListModel(this);
    Delegate = new TSessListDelegate(
        [this](TColorItem item) { return Owner->Frame()->LogColors.Color(item); }, this);
    Grid->setModel(Model);
    Grid->setItemDelegate(Delegate);
    Grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SetUpRecordGrid(Grid, true);
    Grid->installEventFilter(this);
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
    RestorePlacement(this, Owner->Frame()->Store(), Section(), 420, 300, Owner->ViewOpeningPos(), Owner->ViewArea());
}

// The state is saved on closing: the log window closes the list before it goes itself.
TSessListForm::~TSessListForm() = default;

std::string TSessListForm::Section() const { return ViewSection(Owner->Log, ".SessList"); }

TDateFormat TSessListForm::DateFormat() const
{
    const QLocale locale;
    TDateFormat f;
    f.DateSep = SeparatorOf(locale.dateFormat(QLocale::ShortFormat), '/');
    f.TimeSep = SeparatorOf(locale.timeFormat(QLocale::ShortFormat), ':');
    return f;
}

void TSessListForm::Open(TMailerLog* log, std::int32_t caretLine)
{
    Log = log;
    Codec.SetCodePage(Owner->Viewer()->CodePage());
    const ISettingsStore& store = Owner->Frame()->Store();
    const std::string section = Section();
    Columns.Load(store, section, SessColumnFactory(DateFormat()), SessListDefaultColumns(),
                 OpeningWidths<TSess>(Grid, kTypical));
    LoadHighlightAndTemplates(*this, store, section, section, Owner->Frame()->Ui());
    FitRowsToFont(Grid);
    FillGrid();
    WidenToShowGrid(this, Grid, store, section, Owner->ViewArea());

    int select = -1;
    for (std::int32_t i = 0; i < log->SessCount; ++i)
        if (log->Session(i).StartLine > caretLine) {
            select = i;
            break;
        }
    if (select >= 0) {
        const QModelIndex index = Model->index(select, 0);
        Grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        Grid->scrollTo(index, QAbstractItemView::PositionAtTop);
    }
    show();
}

void TSessListForm::FillGrid()
{
    struct TBusy {
        IUserInterface& Ui;
        explicit TBusy(IUserInterface& u) : Ui(u) { Ui.SetBusyCursor(true); }
        ~TBusy() { Ui.SetBusyCursor(false); }
    } busy(Owner->Frame()->Ui());
    const int current = Grid->currentIndex().row();
    const auto shown = Columns.ScreenColumns();
    Model->Reset(Log, shown, &Highlight, &Codec);
    SizeGridColumns(Grid->horizontalHeader(), shown);
    if (current >= 0 && current < Model->rowCount())
        Grid->selectionModel()->setCurrentIndex(Model->index(current, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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
    Owner->GotoLine(Log->Session(row).StartLine);
    Navigating = false;
}

void TSessListForm::ColumnMoved(int from, int to) { TakeColumnMove(*this, from, to); }

void TSessListForm::SetupBtnClick()
{
    TSLSetupForm dialog("Session list setup", TypeNameList(SessColumnNames), this);
    RunColumnSetup(*this, dialog, SessColumnFactory(DateFormat()), Owner->Frame()->Ui());
}

void TSessListForm::ReportBtnClick()
{
    IUserInterface& ui = Owner->Frame()->Ui();
    const QString file = AskReportTarget(*this, ui);
    if (file.isEmpty() || !Log)
        return;
    TReportStyle style;
    style.Format = DateFormat();
    const std::span<const TSess> sessions(Log->Sessions.data(), static_cast<std::size_t>(Log->SessCount));
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
    if (Saved || !Owner || !Owner->Log)
        return;
    Saved = true;
    const std::string section = Section();
    SaveColumnView(*this, Owner->Frame()->Store(), section, section);
}

void TSessListForm::closeEvent(QCloseEvent* event)
{
    SaveState();
    // The log window opens a new list from now on, even before this one is deleted.
    if (Owner->SessList == this)
        Owner->SessList = nullptr;
    event->accept();
}
