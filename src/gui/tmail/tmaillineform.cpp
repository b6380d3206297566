#include "tmail/tmaillineform.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/logutils.h"
#include "common/toolbar.h"
#include "common/windowfit.h"
#include "common/windowplacement.h"
#include "mailercfg/qparser.h"

namespace {

constexpr int kBottomHeight = 41;

}  // namespace

TTMailLineForm::TTMailLineForm(const TGuiEnv& env, std::string mailerPath, QWidget* parent, const char* className,
                               const char* gridName, std::vector<TColumnDesign> columns, QAbstractTableModel* model)
    : QWidget(parent, Qt::Window), Env(env), MailerPath(std::move(mailerPath)), ClassName(className),
      GridSection(std::string(className) + gridName), Columns(std::move(columns))
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose, true);
    auto* layout = AddEdgeToEdgeLayout(this);
    ToolBar = MakeToolBar(this);
    layout->addWidget(ToolBar);

    TableGrid = new QTableView(this);
    TableGrid->setObjectName(gridName);
    QFont arial("Arial");
    arial.setPixelSize(13);
    TableGrid->setFont(arial);
    TableGrid->setModel(model);
    model->setParent(TableGrid);
    SetUpRecordGrid(TableGrid, false);
    TableGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    FitRowsToFont(TableGrid);
    layout->addWidget(TableGrid, 1);

    auto* bottom = new QWidget(this);
    bottom->setObjectName("BottomPanel");
    bottom->setFixedHeight(kBottomHeight);
    auto* grid = new QGridLayout(bottom);
    grid->setContentsMargins(6, 4, 6, 4);
    Status = new QLabel(bottom);
    Status->setObjectName("StatusLabel");
    Status->setWordWrap(true);
    QFont small = Status->font();
    small.setPointSize(8);
    Status->setFont(small);
    OkBtn = new QPushButton("OK", bottom);
    OkBtn->setObjectName("OKBtn");
    OkBtn->setDefault(true);
    // Equal stretch on both sides keeps the button centred whatever the status says.
    grid->addWidget(Status, 0, 0);
    grid->addWidget(OkBtn, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    layout->addWidget(bottom);

    connect(OkBtn, &QPushButton::clicked, this, &QWidget::close);
    TableGrid->installEventFilter(this);

    InputQuery = [this](const QString& caption, const QString& prompt, QString& value) {
        bool ok = false;
        const QString text = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
        return ok;
    };
}

TTMailLineForm::~TTMailLineForm() = default;

QToolButton* TTMailLineForm::AddToolButton(const char* name, const QString& hint, const QIcon& icon)
{
    // The buttons sit left: the stretch after the last one moves behind each new one.
    auto* bar = static_cast<QHBoxLayout*>(ToolBar->layout());
    if (bar->count() > 0)
        delete bar->takeAt(bar->count() - 1);
    QToolButton* b = AddToolBarButton(ToolBar, name, hint, icon);
    bar->addStretch(1);
    return b;
}

QString TTMailLineForm::StatusText() const { return Status->text(); }

void TTMailLineForm::SetStatusText(const QString& text) { Status->setText(text); }

bool TTMailLineForm::ReportLoadResult(tarvex::TRecordFileResult result, const char* cannotOpen)
{
    switch (result) {
    case tarvex::TRecordFileResult::Ok: return true;
    case tarvex::TRecordFileResult::CannotOpen:
        Env.Ui.Message(cannotOpen, tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    case tarvex::TRecordFileResult::NoMemory:
        Env.Ui.Message("Not enough memory!", tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    }
    return false;
}

void TTMailLineForm::ShowFileStatus(const std::string& fileName, std::size_t records, std::size_t leftoverBytes)
{
    tarvex::TRecordFile file;
    file.Count = records;
    file.LeftoverBytes = leftoverBytes;
    const std::string leftover = tarvex::LeftoverText(file);
    SetStatusText(QString::fromStdString(fileName + (leftover.empty() ? "" : ": " + leftover)));
}

bool TTMailLineForm::Setup()
{
    SysPath.clear();
    try {
        SysPath = tarvex::ReadSysPath(MailerPath);
    } catch (const tarvex::EQParserError& e) {
        std::string msg = e.what();
        if (e.LineNo != 0)
            msg += " (file " + e.FileName + ", line " + std::to_string(e.LineNo) + ")";
        Env.Ui.Message(msg, tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    } catch (const std::exception& e) {
        Env.Ui.Message(e.what(), tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    }
    RestoreColumnWidths();
    if (!Load())
        return false;
    Display();
    if (!RestoreWindowPlacement(Env.Store, ClassName, *this)) {
        // First opened: wide enough for every column, over the main window.
        QRect r(QPoint(), QSize(std::max(width(), WidthShowingColumns(TableGrid)), height()));
        if (parentWidget())
            r.moveCenter(parentWidget()->geometry().center());
        setGeometry(FitInside(r, ScreenAreaFor(r)));
    }
    show();
    raise();
    activateWindow();
    return true;
}

void TTMailLineForm::SelectLine()
{
    QString text = QString::number(MailerLine);
    if (!InputQuery || !InputQuery("Select line", "Enter line number", text))
        return;
    int n = 0;
    if (!tarvex::TryStrToInt(text.toStdString(), n)) {
        Env.Ui.Message("Invalid line number", tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return;
    }
    const std::int32_t before = MailerLine;
    if (n != 0)
        MailerLine = n;
    if (!Load()) {
        MailerLine = before;
        return;
    }
    Display();
}

void TTMailLineForm::RestoreColumnWidths() { RestoreItemWidths(TableGrid, Env.Store, GridSection, Columns); }

void TTMailLineForm::StoreColumnWidths() { StoreItemWidths(TableGrid, Env.Store, GridSection); }

bool TTMailLineForm::eventFilter(QObject* watched, QEvent* event)
{
    // Esc in the grid closes the window.
    if (watched == TableGrid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TTMailLineForm::closeEvent(QCloseEvent* event)
{
    if (!ClosedOnce && isVisible()) {
        ClosedOnce = true;
        StoreColumnWidths();
        SaveWindowPlacement(Env.Store, ClassName, *this);
        emit Closed(MailerLine);
    }
    QWidget::closeEvent(event);
}
