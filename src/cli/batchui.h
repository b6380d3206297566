#pragma once
#include <ostream>
#include <string>

#include "host/userinterface.h"

// Every question goes to stderr on one line and is answered OK, or Cancel when asked to stop.
class TBatchUserInterface : public tarvex::IUserInterface
{
public:
    TBatchUserInterface(std::ostream& err, bool stopOnError) : Err(err), StopOnError(stopOnError) {}

    tarvex::TMsgResult Message(const std::string& text, tarvex::TMsgKind, tarvex::TMsgButtons buttons) override
    {
        std::string oneLine = text;
        for (char& c : oneLine)
            if (c == '\n' || c == '\r')
                c = ' ';
        Err << oneLine << '\n';
        return buttons == tarvex::TMsgButtons::OKCancel && StopOnError ? tarvex::TMsgResult::Cancel
                                                                       : tarvex::TMsgResult::OK;
    }
    void SetBusyCursor(bool) override {}

private:
    std::ostream& Err;
    bool StopOnError;
};
