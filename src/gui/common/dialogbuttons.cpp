#include "common/dialogbuttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

TDialogButtons MakeDialogButtons(QDialog* dialog, bool withCancel)
{
    TDialogButtons b;
    b.Box = new QDialogButtonBox(dialog);
    b.OK = b.Box->addButton("OK", QDialogButtonBox::AcceptRole);
    b.OK->setObjectName("BtnOK");
    b.OK->setDefault(true);
    // Through the dialog's own accept and reject, so that a dialog that checks its values on
    // OK gets to.
    QObject::connect(b.Box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    if (withCancel) {
        b.Cancel = b.Box->addButton("Cancel", QDialogButtonBox::RejectRole);
        b.Cancel->setObjectName("BtnCancel");
        QObject::connect(b.Box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    }
    return b;
}
