#pragma once
// A small mailer style used only by the tests, to drive the engine without a real parser.
// Lines: "DD/MM HH:MM:SS <command ...>", commands DIAL, CONNECT, ADDR, FAIL, ERR, END, FREQ,
// SENT, THROW.
#include <functional>
#include <stdexcept>
#include <string>

#include "base/logutils.h"
#include "log/mailerlog.h"

namespace tarvex::testing {

class TTestStyle : public TMailerLog
{
public:
    TTestStyle() : TMailerLog(lsTMail)
    {
        MsgCol = 16;
        DayKeyPos = 1;
        DayKeyLen = 5;
    }

    std::function<void()> OnLoadConfig;
    int ConfigLoads = 0;

    void LoadConfig() override
    {
        ++ConfigLoads;
        if (OnLoadConfig)
            OnLoadConfig();
    }

    TDateTime DateOfLine(std::string_view line) override
    {
        return EncodeDate(ProgramStartYear(), StrToInt(line.substr(3, 2)), StrToInt(line.substr(0, 2)));
    }

    TDateTime TimeOfLine(std::string_view line) override
    {
        return DateOfLine(line) + EncodeTime(StrToInt(line.substr(6, 2)), StrToInt(line.substr(9, 2)),
                                             StrToInt(line.substr(12, 2)));
    }

    void ParseLine(std::string_view line) override
    {
        const std::string msg = line.size() > 15 ? std::string(line.substr(15)) : std::string();
        const std::string cmd = WordAt(1, msg, " ");
        const std::string a1 = WordAt(2, msg, " ");
        const std::string a2 = WordAt(3, msg, " ");
        if (cmd == "THROW")
            throw std::runtime_error("boom");
        if (SessState == 0) {
            if (cmd == "DIAL") {
                if (a1[0] == '?')
                    DialAddr.reset();
                else {
                    DialAddr = TFidoAddr::Parse(a1);
                    CountDial(*DialAddr);
                }
                if (a2 == "BUSY")
                    NodeStat(DialAddr, TStatKind::Busy);
                else if (a2 == "NOCARRIER")
                    NodeStat(DialAddr, TStatKind::NoCarrier);
            } else if (cmd == "CONNECT") {
                StartSession(line, a1 == "IN");
                if (a1 == "IN")
                    DialAddr.reset();
            }
            return;
        }
        if (cmd == "ADDR")
            CurSess->Addr = TFidoAddr::Parse(a1);
        else if (cmd == "FAIL") {
            CurSess->Flags |= sfFailed;
            EndSession(line);
        } else if (cmd == "ERR")
            CurSess->Flags &= static_cast<std::uint8_t>(~sfOK);
        else if (cmd == "FREQ")
            AddFreq(a1, *CurSess->Addr);
        else if (cmd == "SENT")
            FreqSent(a1, a2, *CurSess->Addr);
        else if (cmd == "END") {
            CurSess->BytesSent = StrToInt(a1.empty() ? "0" : a1);
            CurSess->BytesRecd = StrToInt(a2.empty() ? "0" : a2);
            EndSession(line);
        }
    }
};

// Joins lines with LF.
inline std::string Lines(std::initializer_list<std::string_view> lines)
{
    std::string s;
    for (auto l : lines) {
        s += l;
        s += '\n';
    }
    return s;
}

}  // namespace tarvex::testing
