#pragma once
#include <QDialog>

#include "common/guienv.h"

class QButtonGroup;
class QListWidget;
class QPushButton;

// The "Colors Setup" dialog: the eleven colour items and a grid of the 16 basic colours. A
// chosen cell becomes the chosen item's colour at once, in the environment's colours; the
// caller keeps a copy to put back on Cancel and re-applies the colours on OK.
class TColorSetupForm : public QDialog
{
    Q_OBJECT
public:
    explicit TColorSetupForm(const TGuiEnv& env, QWidget* parent = nullptr);

    // The grid cell shown chosen (-1: none).
    int SelectedCell() const;
    // The colour item chosen in the list (-1: none).
    int SelectedItem() const;

    QListWidget* LbxColorItem = nullptr;
    QButtonGroup* GrdColor = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

private:
    void ItemChosen(int item);
    void CellChosen(int cell);

    TLogColors& Colors;
};
