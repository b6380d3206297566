#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "host/userinterface.h"

// Message boxes, the busy cursor and the keep-alive of long passes, for the Qt front end.
class TQtUserInterface : public tarvex::IUserInterface
{
public:
    explicit TQtUserInterface(QWidget* owner = nullptr) : Owner(owner) {}
    ~TQtUserInterface() override;

    tarvex::TMsgResult Message(const std::string& text, tarvex::TMsgKind kind, tarvex::TMsgButtons buttons) override;
    // Nested calls balance: the cursor returns to normal when the outermost caller is done.
    void SetBusyCursor(bool busy) override;
    // Lets Qt handle pending events about every 20 ms, however often it is called.
    void KeepAlive() override;
    // The "Brake! log options" kind of dialog: a radio group with OK and Cancel.
    int ChooseOne(const std::string& caption, const std::string& group, const std::vector<std::string>& items,
                  int selected) override;
    // Lets pending events run now.
    void ProcessEvents();

    static constexpr int KeepAliveMs = 20;

private:
    QPointer<QWidget> Owner;
    QElapsedTimer Clock;
    bool CursorSet = false;
    unsigned Calls = 0;
};
