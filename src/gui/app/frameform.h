#pragma once
#include <QMainWindow>

class QMdiArea;

// The multi-document main window.
class TFrameForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrameForm(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return MdiArea; }

private:
    void CreateMenus();

    QMdiArea* MdiArea = nullptr;
};
