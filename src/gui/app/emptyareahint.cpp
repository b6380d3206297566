#include "app/emptyareahint.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

TEmptyAreaHint::TEmptyAreaHint(QMdiArea* area)
    : QLabel(QString::fromUtf8("No logs configured \u2014 Options > Logs... to add one"), area->viewport()),
      Area(area),
      Viewport(area->viewport())
{
    setObjectName("EmptyAreaHint");
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The area paints its own background; the text takes the area's light-on-dark or
    // dark-on-light role so that it stays readable on either.
    setForegroundRole(QPalette::Light);
    auto* layout = new QVBoxLayout(area->viewport());
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(this, 0, Qt::AlignCenter);
    lower();
    hide();
    // Log windows come and go without the logs changing (a file opened without configuring
    // it): the hint gets out of their way.
    connect(area, &QMdiArea::subWindowActivated, this, &TEmptyAreaHint::Update);
    area->viewport()->installEventFilter(this);
}

void TEmptyAreaHint::SetNoLogs(bool none)
{
    NoLogs = none;
    Update();
}

bool TEmptyAreaHint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Viewport && (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved))
        QMetaObject::invokeMethod(this, &TEmptyAreaHint::Update, Qt::QueuedConnection);
    return QLabel::eventFilter(watched, event);
}

void TEmptyAreaHint::Update()
{
    bool windows = false;
    for (QMdiSubWindow* w : Area->subWindowList())
        windows = windows || w->isVisibleTo(Viewport);
    setVisible(NoLogs && !windows);
}
