#include "views/viewform.h"

#include <QCloseEvent>

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
