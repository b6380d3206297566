#pragma once
#include <cstdint>
#include <string>

#include "log/mailerlog.h"

namespace tarvex {

// Logs of the Argus mailer. Its phrases are fixed English texts and it needs no configuration.
// Line layout: a marker in column 1, "DD Mon YY" in 3-11, HH:MM:SS in 13-20 and the message from
// column 22. The session summary gives no byte counts, so they are added up from the transfer
// lines: a file counts its bytes, less the offset a resumed transfer started from, only when its
// completion line follows.
class TArgusLog : public TMailerLog
{
public:
    TArgusLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    TDateTime DateOfLine(std::string_view line) override;
    void ParseLine(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    void LoadConfig() override {}

    std::uint8_t CallState = 0;  // 0 before the first call, 1 answering, 2 calling
    std::string SendFile;
    std::string RecvFile;
    std::int32_t SendSize = 0;
    std::int32_t RecvSize = 0;

private:
    void ParseOutside(std::string_view line);
    bool SessionEnds(std::string_view line);
    void ParseTransfer(std::string_view line);
    void ForgetTransfers();
};

}  // namespace tarvex
