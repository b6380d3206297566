#pragma once
#include <QDialogButtonBox>

class QDialog;
class QPushButton;

// The button row at the foot of a dialog: "OK" (BtnOK, the default button) accepts the dialog
// and "Cancel" (BtnCancel) rejects it. A dialog that has nothing to cancel gets OK alone.
struct TDialogButtons {
    QDialogButtonBox* Box = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;  // null without one
};
TDialogButtons MakeDialogButtons(QDialog* dialog, bool withCancel = true);
