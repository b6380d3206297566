#pragma once
#include "host/userinterface.h"

// The busy cursor for as long as it lives: the normal cursor comes back on every way out,
// an exception included.
class TBusyCursor
{
public:
    explicit TBusyCursor(tarvex::IUserInterface& ui) : Ui(ui) { Ui.SetBusyCursor(true); }
    ~TBusyCursor() { Ui.SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    tarvex::IUserInterface& Ui;
};
