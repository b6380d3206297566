#include "app/qtuserinterface.h"

#include <QApplication>
#include <QMessageBox>

#include "setup/brakeoptionsform.h"

TQtUserInterface::~TQtUserInterface()
{
    if (CursorSet)
        QApplication::restoreOverrideCursor();
}

tarvex::TMsgResult TQtUserInterface::Message(const std::string& text, tarvex::TMsgKind kind, tarvex::TMsgButtons buttons)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case tarvex::TMsgKind::Information: icon = QMessageBox::Information; break;
    case tarvex::TMsgKind::Warning: icon = QMessageBox::Warning; break;
    case tarvex::TMsgKind::Error: icon = QMessageBox::Critical; break;
    case tarvex::TMsgKind::Plain: break;
    }
    const QMessageBox::StandardButtons btns =
        buttons == tarvex::TMsgButtons::OKCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    // A message must not sit behind the busy cursor.
    const bool wasBusy = CursorSet;
    if (wasBusy)
        SetBusyCursor(false);
    QMessageBox box(icon, QApplication::applicationDisplayName(), QString::fromLocal8Bit(text.c_str()), btns,
                    Owner ? Owner->window() : nullptr);
    box.setObjectName("TarvexMessage");
    const int answer = box.exec();
    if (wasBusy)
        SetBusyCursor(true);
    return answer == QMessageBox::Cancel ? tarvex::TMsgResult::Cancel : tarvex::TMsgResult::OK;
}

void TQtUserInterface::SetBusyCursor(bool busy)
{
    if (busy == CursorSet)
        return;
    CursorSet = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TQtUserInterface::KeepAlive()
{
    if (!Clock.isValid()) {
        Clock.start();
        return;
    }
    // Reading the clock on every line of a million-line log would cost more than the events.
    if ((++Calls & 63) == 0 && Clock.elapsed() >= KeepAliveMs)
        ProcessEvents();
}

void TQtUserInterface::ProcessEvents()
{
    QApplication::processEvents();
    Clock.restart();
}

int TQtUserInterface::ChooseOne(const std::string& caption, const std::string& group,
                                const std::vector<std::string>& items, int selected)
{
    QStringList texts;
    for (const std::string& item : items)
        texts << QString::fromStdString(item);
    // Destroyed when it closes, whatever the answer.
    TBrakeOptionsForm form(QString::fromStdString(caption), QString::fromStdString(group), texts, selected,
                           Owner ? Owner->window() : nullptr);
    return form.exec() == QDialog::Accepted ? form.ItemIndex() : -1;
}
