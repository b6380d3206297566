#pragma once
#include <QString>

class QIcon;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The parts of a window whose bars and grid or text stand edge to edge: the log window, the
// T-Mail windows and the statistics views.

// The window's outer layout: no margins, no spacing.
QVBoxLayout* AddEdgeToEdgeLayout(QWidget* window);

// The icon tool bar of the log and T-Mail windows, its height fixed (kToolBarHeight), its buttons
// laid out left to right.
inline constexpr int kToolBarHeight = 33;
QWidget* MakeToolBar(QWidget* parent);
// A flat 25 by 25 icon button with its hint, added after the bar's last item; it never takes the
// focus from the window's text or grid.
QToolButton* AddToolBarButton(QWidget* bar, const char* name, const QString& hint, const QIcon& icon);
