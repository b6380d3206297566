#pragma once
#include <QLabel>

class QMdiArea;

// The line in the middle of the main window's empty area that tells a new user where logs are
// set up. It shows while no log is configured and no log window is on the area.
class TEmptyAreaHint : public QLabel
{
    Q_OBJECT
public:
    explicit TEmptyAreaHint(QMdiArea* area);

    // Whether any log is configured; the hint shows only when none is.
    void SetNoLogs(bool none);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    QMdiArea* Area;
    // Kept apart: while the area is torn down, asking it for its viewport is no longer safe.
    QWidget* Viewport;
    bool NoLogs = false;
};
