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

#include "app/appsettings.h"
#include "app/frameform.h"
#include "app/windowplacement.h"
#include "base/logutils.h"
#include "mailercfg/qparser.h"
#include "tmail/tmailfiles.h"
#include "views/windowfit.h"

namespace {

constexpr int kToolBarHeight = 33;
constexpr int kBottomHeight = 41;

}  // namespace

TTMailLineForm::TTMailLineForm(TFrameForm* frame, const char* className, const char* gridName,
                               std::vector<TColumnDesign> columns, QAbstractTableModel* model)
    : QWidget(frame, Qt::Window), FrameForm(frame), ClassName(className),
      GridSection(std::string(className) + gridName), Columns(std::move(columns))
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar = new QWidget(this);
    ToolBar->setObjectName("ToolBar");
    ToolBar->setFixedHeight(kToolBarHeight);
    ToolLayout = new QHBoxLayout(ToolBar);
    ToolLayout->setContentsMargins(2, 4, 2, 4);
    ToolLayout->setSpacing(0);
    layout->addWidget(ToolBar);

    TableGrid = new QTableView(this);
    TableGrid->setObjectName(gridName);
    QFont arial("Arial");
    arial.setPixelSize(13);
    TableGrid->setFont(arial);
    TableGrid->setModel(model);
    model->setParent(TableGrid);
    TableGrid->setShowGrid(true);
    TableGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    TableGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableGrid->setWordWrap(false);
    TableGrid->verticalHeader()->hide();
    TableGrid->verticalHeader()->setMinimumSectionSize(1);
    TableGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableGrid->verticalHeader()->setDefaultSectionSize(FontHeight(arial) + 2);
    TableGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    TableGrid->horizontalHeader()->setHighlightSections(false);
    TableGrid->horizontalHeader()->setStretchLastSection(false);
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
    auto* b = new QToolButton(ToolBar);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setFixedSize(25, 25);
    b->setIconSize(QSize(20, 20));
    b->setIcon(icon);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    // The buttons sit left; the stretch after the last one is added once, at the first call.
    if (ToolLayout->count() > 0)
        delete ToolLayout->takeAt(ToolLayout->count() - 1);
    ToolLayout->addWidget(b);
    ToolLayout->addStretch(1);
    return b;
}

QString TTMailLineForm::StatusText() const { return Status->text(); }

void TTMailLineForm::SetStatusText(const QString& text) { Status->setText(text); }

bool TTMailLineForm::ReportLoadResult(int result, const char* cannotOpen)
{
    switch (static_cast<tarvex::TRecordFileResult>(result)) {
    case tarvex::TRecordFileResult::Ok: return true;
    case tarvex::TRecordFileResult::CannotOpen:
        FrameForm->Ui().Message(cannotOpen, tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    case tarvex::TRecordFileResult::NoMemory:
        FrameForm->Ui().Message("Not enough memory!", tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    }
    return false;
}

bool TTMailLineForm::Setup()
{
    SysPath.clear();
    try {
        SysPath = tarvex::ReadSysPath(FrameForm->Logs.MailerPathOfStyle(tarvex::lsTMail));
    } catch (const tarvex::EQParserError& e) {
        std::string msg = e.what();
        if (e.LineNo != 0)
            msg += " (file " + e.FileName + ", line " + std::to_string(e.LineNo) + ")";
        FrameForm->Ui().Message(msg, tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    } catch (const std::exception& e) {
        FrameForm->Ui().Message(e.what(), tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
        return false;
    }
    RestoreColumnWidths();
    if (!Load())
        return false;
    Display();
    if (!RestoreWindowPlacement(FrameForm->Store(), ClassName, *this)) {
        // First opened: wide enough for every column, over the main window.
        QRect r(QPoint(), QSize(std::max(width(), WidthShowingColumns(TableGrid)), height()));
        r.moveCenter(FrameForm->geometry().center());
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
        FrameForm->Ui().Message("Invalid line number", tarvex::TMsgKind::Error, tarvex::TMsgButtons::OK);
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

void TTMailLineForm::RestoreColumnWidths() { RestoreItemWidths(TableGrid, FrameForm->Store(), GridSection, Columns); }

void TTMailLineForm::StoreColumnWidths() { StoreItemWidths(TableGrid, FrameForm->Store(), GridSection); }

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
        SaveWindowPlacement(FrameForm->Store(), ClassName, *this);
        Closed();
    }
    QWidget::closeEvent(event);
}
