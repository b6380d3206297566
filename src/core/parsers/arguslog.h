#pragma once
#include <cstdint>
#include <string>

#include "log/mailerlog.h"

namespace tarvex {

// Logs of the Argus mailer. Its phrases are fixed English texts and it needs no configuration.
// Line layout: a marker in column 1, "DD Mon YY" in 3-11, HH:MM:SS in 13-20 and the message from
// column 22; later versions write "DD-Mon-YYYY" in 3-13, the time in 15-22 and the message from
// column 24. Each line is read in its own layout. The session summary gives no byte counts, so they are added up from the transfer
// lines: a file counts its bytes, less the offset a resumed transfer started from, only when its
// completion line follows.
class TArgusLog : public TMailerLog
{
public:
    TArgusLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    void NoteWord(std::string_view word, int col, bool lineStart) override;
    TDateTime DateOfLine(std::string_view line) override;
    void CheckNewDay(std::string_view line) override;
    void ParseLine(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    void LoadConfig() override {}

    std::uint8_t CallState = 0;  // 0 before the first call, 1 answering, 2 calling
    std::string SendFile;
    std::string RecvFile;
    std::int64_t SendSize = 0;
    std::int64_t RecvSize = 0;

private:
    void ParseOutside(std::string_view line);
    bool SessionEnds(std::string_view line);
    void ParseTransfer(std::string_view line);
    void ForgetTransfers();

    std::size_t Msg = 21;         // 0-based column of the message in the line being parsed
    bool FourDigitWords = false;  // the line being coloured has a four-digit year
};

}  // namespace tarvex
