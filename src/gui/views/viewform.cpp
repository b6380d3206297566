#include "views/viewform.h"

#include <QAction>
#include <QCloseEvent>
#include <QTableView>

#include "log/mailerlog.h"
#include "views/viewparts.h"

TViewForm::TViewForm(const TGuiEnv& env, IViewHost& host, TViewKind kind, QWidget* parent, const char* name,
                     const QString& caption)
    : QWidget(parent, Qt::Window), Env(env), Host(host), Kind(kind)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    QString title = caption;
    if (const tarvex::TMailerLog* log = Host.ViewedLog())
        title += " - " + QString::fromStdString(log->Name);
    setWindowTitle(title);
}

void TViewForm::PlaceAsStored(int width, int height)
{
    RestorePlacement(this, Env.Store, Section(), width, height, Host.ViewOpeningPos(), Host.ViewArea());
}

void TViewForm::WidenToShow(const QTableView* grid) { WidenToShowGrid(this, grid, Env.Store, Section(), Host.ViewArea()); }

void TViewForm::AddNodeHistoryAction(QTableView* grid,
                                     std::function<std::optional<tarvex::TFidoAddr>(int row)> addrOfRow)
{
    auto* action = new QAction("Node history", grid);
    action->setObjectName("NodeHistoryAction");
    action->setShortcut(QKeySequence(Qt::Key_F9));
    // Anywhere in the view's window: a view just opened may not have given its grid the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    grid->addAction(action);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(action, &QAction::triggered, this, [this, grid, addrOfRow = std::move(addrOfRow)] {
        const int row = grid->currentIndex().row();
        if (!Host.ViewedLog() || row < 0)
            return;
        if (const std::optional<tarvex::TFidoAddr> addr = addrOfRow(row))
            emit NodeHistoryAsked(*addr);
    });
}

void TViewForm::closeEvent(QCloseEvent* event)
{
    if (!Saved) {
        Saved = true;
        if (Host.ViewedLog())
            SaveState();
        emit Closed();
    }
    event->accept();
}
