#include "viewer/logfinddialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

LogFindDialog::LogFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("FindDialog");
    setWindowTitle(tr("Find"));
    setModal(false);

    auto* label = new QLabel(tr("Fi&nd what:"), this);
    EdtFind = new QLineEdit(this);
    EdtFind->setObjectName("EdtFind");
    label->setBuddy(EdtFind);

    ChkMatchCase = new QCheckBox(tr("Match &case"), this);
    ChkMatchCase->setObjectName("ChkMatchCase");

    auto* direction = new QGroupBox(tr("Direction"), this);
    RadUp = new QRadioButton(tr("&Up"), direction);
    RadUp->setObjectName("RadUp");
    RadDown = new QRadioButton(tr("&Down"), direction);
    RadDown->setObjectName("RadDown");
    RadDown->setChecked(true);
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(RadUp);
    dirLayout->addWidget(RadDown);

    BtnFindNext = new QPushButton(tr("&Find Next"), this);
    BtnFindNext->setObjectName("BtnFindNext");
    BtnFindNext->setDefault(true);
    BtnFindNext->setEnabled(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("BtnCancel");

    LblMessage = new QLabel(this);
    LblMessage->setObjectName("LblMessage");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(EdtFind, 0, 1);
    grid->addWidget(BtnFindNext, 0, 2);
    grid->addWidget(ChkMatchCase, 1, 0, 1, 1);
    grid->addWidget(direction, 1, 1);
    grid->addWidget(cancel, 1, 2, Qt::AlignTop);
    grid->addWidget(LblMessage, 2, 0, 1, 3);

    connect(EdtFind, &QLineEdit::textChanged, this, [this](const QString& t) {
        BtnFindNext->setEnabled(!t.isEmpty());
        LblMessage->clear();
    });
    connect(BtnFindNext, &QPushButton::clicked, this, &LogFindDialog::FindNextRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] {
        if (!EdtFind->text().isEmpty())
            emit FindNextRequested();
    });
}

QString LogFindDialog::Text() const
{
    return EdtFind->text();
}

void LogFindDialog::SetText(const QString& text)
{
    EdtFind->setText(text);
    EdtFind->selectAll();
}

bool LogFindDialog::MatchCase() const
{
    return ChkMatchCase->isChecked();
}

void LogFindDialog::SetMatchCase(bool on)
{
    ChkMatchCase->setChecked(on);
}

bool LogFindDialog::Down() const
{
    return RadDown->isChecked();
}

void LogFindDialog::SetDown(bool down)
{
    (down ? RadDown : RadUp)->setChecked(true);
}

void LogFindDialog::ShowMessage(const QString& message)
{
    LblMessage->setText(message);
}
