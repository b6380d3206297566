#include "setup/brakeoptionsform.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/dialogbuttons.h"

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
    const TDialogButtons buttons = MakeDialogButtons(this);
    BtnOK = buttons.OK;
    BtnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadMailerVersion);
    layout->addWidget(buttons.Box);
    setFixedSize(sizeHint());
}

int TBrakeOptionsForm::ItemIndex() const { return Items->checkedId(); }
