#include "setup/brakeoptionsform.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TBrakeOptionsForm::TBrakeOptionsForm(const QString& caption, const QString& group, const QStringList& items,
                                     int selected, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("TBrakeOptionsForm");
    setWindowTitle(caption);
    RadMailerVersion = new QGroupBox(group, this);
    RadMailerVersion->setObjectName("RadMailerVersion");
    Items = new QButtonGroup(this);
    auto* groupLayout = new QVBoxLayout(RadMailerVersion);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], RadMailerVersion);
        radio->setObjectName(QString("RadItem%1").arg(i));
        Items->addButton(radio, i);
        groupLayout->addWidget(radio);
        radio->setChecked(i == selected);
    }
    auto* buttons = new QDialogButtonBox(this);
    BtnOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    BtnCancel->setObjectName("BtnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadMailerVersion);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

int TBrakeOptionsForm::ItemIndex() const { return Items->checkedId(); }
