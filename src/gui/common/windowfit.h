#pragma once
#include <QRect>

// Where windows may stand. Users move between screens of different sizes, and a window that
// comes back where it stood on a larger screen must not stand out of reach.

// The rectangle moved, and made smaller where it is larger than the area, so that it lies
// wholly inside the area.
QRect FitInside(QRect r, const QRect& area);

// The part of the screen the rectangle stands mostly on (the primary screen when it stands
// on none) that the desktop's panels leave free.
QRect ScreenAreaFor(const QRect& r);
