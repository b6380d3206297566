#include "views/slsetupform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/dialogbuttons.h"

using tarvex::TColumn;

namespace {
constexpr int kIdRole = Qt::UserRole + 1;
}

TSLSetupForm::TSLSetupForm(const QString& caption, const QStringList& typeNames, QWidget* parent)
    : QDialog(parent), TypeNames(typeNames)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    Pages = new QTabWidget(this);
    Pages->setTabPosition(QTabWidget::South);
    layout->addWidget(Pages);

    auto* columnsPage = new QWidget;
    auto* cl = new QHBoxLayout(columnsPage);
    auto* listBox = new QVBoxLayout;
    listBox->addWidget(new QLabel("Columns"));
    LbxColumns = new QListWidget;
    LbxColumns->setObjectName("LbxColumns");
    LbxColumns->setDragDropMode(QAbstractItemView::InternalMove);
    LbxColumns->setDefaultDropAction(Qt::MoveAction);
    listBox->addWidget(LbxColumns);
    cl->addLayout(listBox, 1);
    auto* fields = new QFormLayout;
    EdtHeading = new QLineEdit;
    EdtHeading->setObjectName("EdtHeading");
    fields->addRow("Heading", EdtHeading);
    CmbType = new QComboBox;
    CmbType->setObjectName("CmbType");
    CmbType->addItems(TypeNames);
    fields->addRow("Type", CmbType);
    ChkScreen = new QCheckBox("Screen");
    ChkScreen->setObjectName("ChkScreen");
    EdtScrWidth = new QLineEdit;
    EdtScrWidth->setObjectName("EdtScrWidth");
    fields->addRow(ChkScreen, new QLabel("width"));
    fields->addRow(QString(), EdtScrWidth);
    ChkFile = new QCheckBox("File");
    ChkFile->setObjectName("ChkFile");
    EdtFileWidth = new QLineEdit;
    EdtFileWidth->setObjectName("EdtFileWidth");
    fields->addRow(ChkFile, new QLabel("width"));
    fields->addRow(QString(), EdtFileWidth);
    auto* buttons = new QHBoxLayout;
    BtnAdd = new QPushButton("Add");
    BtnAdd->setObjectName("BtnAdd");
    BtnRemove = new QPushButton("Remove");
    BtnRemove->setObjectName("BtnRemove");
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnRemove);
    fields->addRow(buttons);
    cl->addLayout(fields, 1);
    Pages->addTab(columnsPage, "Columns");

    auto* hlPage = new QWidget;
    auto* hl = new QVBoxLayout(hlPage);
    hl->addWidget(new QLabel("Highlight addresses"));
    EdtHighlight = new QPlainTextEdit;
    EdtHighlight->setObjectName("EdtHighlight");
    hl->addWidget(EdtHighlight);
    Pages->addTab(hlPage, "Highlight");

    auto* repPage = new QWidget;
    auto* rl = new QVBoxLayout(repPage);
    auto* group = new QGroupBox("Report options");
    auto* gl = new QFormLayout(group);
    auto fileRow = [&](const QString& label, QLineEdit*& edit, QToolButton*& button, const char* name,
                       const QString& hint, const QString& title) {
        edit = new QLineEdit;
        edit->setObjectName(name);
        button = new QToolButton;
        button->setText("...");
        button->setToolTip(hint);
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        gl->addRow(label, row);
        QLineEdit* e = edit;
        connect(button, &QToolButton::clicked, this, [this, e, title] { Browse(e, title); });
    };
    fileRow("Header file", EdtHeader, BtnHeader, "EdtHeader", "Select header file", "Select report header file");
    fileRow("Footer file", EdtFooter, BtnFooter, "EdtFooter", "Select footer file", "Select report footer file");
    rl->addWidget(group);
    rl->addStretch(1);
    Pages->addTab(repPage, "Report");

    layout->addWidget(MakeDialogButtons(this).Box);

    EdtScrWidth->installEventFilter(this);
    EdtFileWidth->installEventFilter(this);
    connect(LbxColumns, &QListWidget::itemSelectionChanged, this, &TSLSetupForm::LbxColumnsSelect);
    connect(EdtHeading, &QLineEdit::textEdited, this, &TSLSetupForm::EdtHeadingChange);
    connect(CmbType, &QComboBox::activated, this, &TSLSetupForm::CmbTypeSelect);
    connect(EdtScrWidth, &QLineEdit::textEdited, this, [this](const QString& t) { WidthChange(EdtScrWidth, t); });
    connect(EdtFileWidth, &QLineEdit::textEdited, this, [this](const QString& t) { WidthChange(EdtFileWidth, t); });
    connect(ChkScreen, &QCheckBox::clicked, this, [this](bool on) {
        if (TColumn* c = Selected()) {
            c->ShowScr = on;
            Modified = true;
        }
    });
    connect(ChkFile, &QCheckBox::clicked, this, [this](bool on) {
        if (TColumn* c = Selected()) {
            c->ShowFile = on;
            Modified = true;
        }
    });
    connect(BtnAdd, &QPushButton::clicked, this, &TSLSetupForm::BtnAddClick);
    connect(BtnRemove, &QPushButton::clicked, this, &TSLSetupForm::BtnRemoveClick);
    connect(LbxColumns->model(), &QAbstractItemModel::rowsMoved, this, &TSLSetupForm::ItemsMoved);
    Pages->setCurrentIndex(0);
    ShowSelected();
}

QString TSLSetupForm::ItemText(int pos, const TColumn& c) const
{
    return QString::number(pos) + " - " + QString::fromStdString(c.Heading);
}

void TSLSetupForm::SetColumns(const std::vector<const TColumn*>& columns)
{
    LbxColumns->clear();
    Held.clear();
    for (const TColumn* source : columns) {
        auto c = std::make_unique<TColumn>();
        c->Assign(*source);
        auto* item = new QListWidgetItem(ItemText(LbxColumns->count(), *c));
        item->setData(kIdRole, static_cast<int>(Held.size()));
        item->setFlags(item->flags() | Qt::ItemIsDragEnabled);
        item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
        Held.push_back(std::move(c));
        LbxColumns->addItem(item);
    }
    LbxColumns->setCurrentRow(-1);
    LbxColumns->clearSelection();
    ShowSelected();
}

std::vector<TColumn> TSLSetupForm::Columns() const
{
    std::vector<TColumn> out;
    for (int i = 0; i < LbxColumns->count(); ++i) {
        TColumn c;
        c.Assign(*Held[static_cast<std::size_t>(LbxColumns->item(i)->data(kIdRole).toInt())]);
        out.push_back(c);
    }
    return out;
}

void TSLSetupForm::SetAddressLines(const QStringList& lines) { EdtHighlight->setPlainText(lines.join('\n')); }

QStringList TSLSetupForm::AddressLines() const
{
    QStringList lines = EdtHighlight->toPlainText().split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

void TSLSetupForm::SetTemplates(const QString& header, const QString& footer)
{
    EdtHeader->setText(header);
    EdtFooter->setText(footer);
}

QString TSLSetupForm::HeaderFile() const { return EdtHeader->text(); }
QString TSLSetupForm::FooterFile() const { return EdtFooter->text(); }

TColumn* TSLSetupForm::Selected() const
{
    const QList<QListWidgetItem*> sel = LbxColumns->selectedItems();
    if (sel.isEmpty())
        return nullptr;
    return Held[static_cast<std::size_t>(sel.front()->data(kIdRole).toInt())].get();
}

void TSLSetupForm::ShowSelected()
{
    const TColumn* c = Selected();
    for (QWidget* w : std::initializer_list<QWidget*>{EdtHeading, CmbType, ChkScreen, EdtScrWidth, ChkFile,
                                                      EdtFileWidth, BtnRemove})
        w->setEnabled(c != nullptr);
    if (!c) {
        EdtHeading->clear();
        CmbType->setCurrentIndex(-1);
        EdtScrWidth->clear();
        EdtFileWidth->clear();
        ChkScreen->setChecked(false);
        ChkFile->setChecked(false);
        return;
    }
    EdtHeading->setText(QString::fromStdString(c->Heading));
    CmbType->setCurrentIndex(c->ColType >= 0 && c->ColType < CmbType->count() ? c->ColType : -1);
    EdtScrWidth->setText(QString::number(c->ScrWidth));
    EdtFileWidth->setText(QString::number(c->FileWidth));
    ChkScreen->setChecked(c->ShowScr);
    ChkFile->setChecked(c->ShowFile);
}

void TSLSetupForm::LbxColumnsSelect() { ShowSelected(); }

void TSLSetupForm::EdtHeadingChange(const QString& text)
{
    TColumn* c = Selected();
    if (!c)
        return;
    c->Heading = text.toStdString();
    QListWidgetItem* item = LbxColumns->selectedItems().front();
    item->setText(ItemText(LbxColumns->row(item), *c));
    Modified = true;
}

void TSLSetupForm::CmbTypeSelect(int index)
{
    TColumn* c = Selected();
    if (!c || index < 0)
        return;
    c->ColType = index;
    if (EdtHeading->text().isEmpty()) {
        EdtHeading->setText(TypeNames.value(index));
        EdtHeadingChange(EdtHeading->text());
    }
    Modified = true;
}

void TSLSetupForm::WidthChange(QLineEdit* edit, const QString& text)
{
    TColumn* c = Selected();
    bool ok = false;
    const int n = text.toInt(&ok);
    // An empty field, 0 or a number too large to read leave the width as it was.
    if (!c || !ok || n == 0)
        return;
    (edit == EdtScrWidth ? c->ScrWidth : c->FileWidth) = n;
    Modified = true;
}

bool TSLSetupForm::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == EdtScrWidth || watched == EdtFileWidth) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString t = key->text();
        // Digits and Backspace only; moving about and leaving the field stay possible.
        if (key->key() != Qt::Key_Backspace && !t.isEmpty() && t.at(0).isPrint() && !t.at(0).isDigit()) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSLSetupForm::BtnAddClick()
{
    auto c = std::make_unique<TColumn>();
    auto* item = new QListWidgetItem(QString::number(LbxColumns->count()) + " - ");
    item->setData(kIdRole, static_cast<int>(Held.size()));
    item->setFlags((item->flags() | Qt::ItemIsDragEnabled) & ~Qt::ItemIsDropEnabled);
    Held.push_back(std::move(c));
    LbxColumns->addItem(item);
    LbxColumns->setCurrentItem(item);
    item->setSelected(true);
    ShowSelected();
    Modified = true;
}

void TSLSetupForm::BtnRemoveClick()
{
    const QList<QListWidgetItem*> sel = LbxColumns->selectedItems();
    if (sel.isEmpty())
        return;
    // The other items keep their texts; a later drag renumbers them.
    delete LbxColumns->takeItem(LbxColumns->row(sel.front()));
    LbxColumns->clearSelection();
    LbxColumns->setCurrentRow(-1);
    ShowSelected();
    Modified = true;
}

void TSLSetupForm::ItemsMoved()
{
    for (int i = 0; i < LbxColumns->count(); ++i) {
        QListWidgetItem* item = LbxColumns->item(i);
        item->setText(ItemText(i, *Held[static_cast<std::size_t>(item->data(kIdRole).toInt())]));
    }
    Modified = true;
}

void TSLSetupForm::Browse(QLineEdit* edit, const QString& title)
{
    const QString name =
        QFileDialog::getOpenFileName(this, title, edit->text(), "Template files (*.tpl);;All files (*)");
    if (!name.isEmpty())
        edit->setText(name);
}
