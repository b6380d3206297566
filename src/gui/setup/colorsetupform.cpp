#include "setup/colorsetupform.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/colortext.h"
#include "common/dialogbuttons.h"

namespace {

constexpr int kGridColumns = 4;

// The cell's look: its colour, framed when chosen by a dark ring with a gap inside it, which
// shows on every colour, black and the highlight colour alike.
QString CellStyle(const QColor& c)
{
    return QString("QToolButton { background-color: %1; border: 1px solid palette(mid); }"
                   "QToolButton:checked { border: 2px solid palette(window-text); padding: 3px;"
                   " background-clip: content; }")
        .arg(c.name());
}

}  // namespace

TColorSetupForm::TColorSetupForm(const TGuiEnv& env, QWidget* parent) : QDialog(parent), Colors(env.Colors)
{
    setObjectName("TColorSetupForm");
    setWindowTitle("Colors Setup");

    LbxColorItem = new QListWidget(this);
    LbxColorItem->setObjectName("LbxColorItem");
    for (int i = 0; i < tarvex::kColorItemCount; ++i)
        LbxColorItem->addItem(TLogColors::Caption(i));
    LbxColorItem->setCurrentRow(-1);
    auto* itemLabel = new QLabel("Color item", this);
    itemLabel->setBuddy(LbxColorItem);

    auto* grid = new QWidget(this);
    grid->setObjectName("GrdColor");
    auto* cells = new QGridLayout(grid);
    cells->setSpacing(2);
    GrdColor = new QButtonGroup(this);
    GrdColor->setExclusive(true);
    for (int i = 0; i < kBasicColorCount; ++i) {
        auto* cell = new QToolButton(grid);
        cell->setObjectName(QString("Cell%1").arg(i));
        cell->setCheckable(true);
        cell->setFixedSize(28, 28);
        const std::string name = ColorToText(BasicColor(i));
        cell->setToolTip(QString::fromStdString(name.substr(2)));  // "clNavy" -> "Navy"
        cell->setAccessibleName(cell->toolTip());
        cell->setStyleSheet(CellStyle(ColorOfValue(BasicColor(i))));
        GrdColor->addButton(cell, i);
        cells->addWidget(cell, i / kGridColumns, i % kGridColumns);
    }
    auto* gridLabel = new QLabel("Color", this);
    gridLabel->setBuddy(GrdColor->button(0));

    // The chosen item is the selected one: the list may make its first row current on getting
    // the focus without anything being chosen.
    connect(LbxColorItem, &QListWidget::itemSelectionChanged, this, [this] { ItemChosen(SelectedItem()); });
    connect(GrdColor, &QButtonGroup::idClicked, this, &TColorSetupForm::CellChosen);

    const TDialogButtons buttons = MakeDialogButtons(this);
    BtnOK = buttons.OK;
    BtnCancel = buttons.Cancel;

    auto* left = new QVBoxLayout;
    left->addWidget(itemLabel);
    left->addWidget(LbxColorItem, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(gridLabel);
    right->addWidget(grid);
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons.Box);
}

int TColorSetupForm::SelectedCell() const { return GrdColor->checkedId(); }

int TColorSetupForm::SelectedItem() const
{
    const QList<QListWidgetItem*> chosen = LbxColorItem->selectedItems();
    return chosen.isEmpty() ? -1 : LbxColorItem->row(chosen.constFirst());
}

void TColorSetupForm::ItemChosen(int item)
{
    if (item < 0 || item >= tarvex::kColorItemCount)
        return;
    // A colour that is none of the 16 (a system colour, or one set by hand) leaves the grid as it is.
    const int cell = BasicColorIndex(Colors.Values[static_cast<std::size_t>(item)]);
    if (QAbstractButton* b = GrdColor->button(cell))
        b->setChecked(true);
}

void TColorSetupForm::CellChosen(int cell)
{
    const int item = SelectedItem();
    if (item < 0 || item >= tarvex::kColorItemCount || cell < 0 || cell >= kBasicColorCount)
        return;
    Colors.Values[static_cast<std::size_t>(item)] = BasicColor(cell);
}
