#include "app/frameform.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenuBar>

TFrameForm::TFrameForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("TFrameForm");
    setWindowTitle("Tarvex");
    MdiArea = new QMdiArea(this);
    setCentralWidget(MdiArea);
    CreateMenus();
    resize(900, 600);
}

void TFrameForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    QAction* exitAct = file->addAction("E&xit");
    exitAct->setObjectName("ExitItem");
    exitAct->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    connect(exitAct, &QAction::triggered, this, &QWidget::close);
}
