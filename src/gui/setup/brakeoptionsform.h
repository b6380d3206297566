#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QPushButton;

// The "Brake! log options" dialog: one radio group ("Mailer version") and OK and Cancel. The
// items and the caption come from the caller, so the core decides what they mean.
class TBrakeOptionsForm : public QDialog
{
    Q_OBJECT

public:
    TBrakeOptionsForm(const QString& caption, const QString& group, const QStringList& items, int selected,
                      QWidget* parent = nullptr);

    // The item chosen (-1: none).
    int ItemIndex() const;

    QGroupBox* RadMailerVersion = nullptr;
    QButtonGroup* Items = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
};
