#include "common/toolbar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

QVBoxLayout* AddEdgeToEdgeLayout(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QWidget* MakeToolBar(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    bar->setObjectName("ToolBar");
    bar->setFixedHeight(kToolBarHeight);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(2, 4, 2, 4);
    layout->setSpacing(0);
    return bar;
}

QToolButton* AddToolBarButton(QWidget* bar, const char* name, const QString& hint, const QIcon& icon)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setFixedSize(25, 25);
    b->setIconSize(QSize(20, 20));
    b->setIcon(icon);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    bar->layout()->addWidget(b);
    return b;
}
