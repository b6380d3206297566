#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The viewer's own find dialog: modeless, so the user can go on reading between searches.
class LogFindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LogFindDialog(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    bool MatchCase() const;
    void SetMatchCase(bool on);
    bool Down() const;
    void SetDown(bool down);
    // A note under the fields ("Cannot find ..."); empty to clear it.
    void ShowMessage(const QString& message);

signals:
    void FindNextRequested();

private:
    QLineEdit* EdtFind = nullptr;
    QCheckBox* ChkMatchCase = nullptr;
    QRadioButton* RadUp = nullptr;
    QRadioButton* RadDown = nullptr;
    QPushButton* BtnFindNext = nullptr;
    QLabel* LblMessage = nullptr;
};
