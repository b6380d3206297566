#include "common/windowfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

QRect FitInside(QRect r, const QRect& area)
{
    if (!area.isValid())
        return r;
    r.setWidth(std::min(r.width(), area.width()));
    r.setHeight(std::min(r.height(), area.height()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() - r.height() + 1));
    return r;
}

QRect ScreenAreaFor(const QRect& r)
{
    const QScreen* best = QGuiApplication::primaryScreen();
    long long most = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry().intersected(r);
        const long long size = static_cast<long long>(common.width()) * common.height();
        if (size > most) {
            most = size;
            best = s;
        }
    }
    return best ? best->availableGeometry() : QRect();
}
