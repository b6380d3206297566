#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "log/genericstyles.h"
#include "log/mailerlog.h"
#include "mailercfg/binklng.h"

namespace tarvex {

// Logs of the Bink/+ mailer. It writes its messages from the translatable phrase table
// binkley.lng, so events are recognised by the phrases of the user's own table; binkley.cfg
// names the magic names (About, Avail and the '@' lines of its OkFile).
// Line layout: a marker in column 1 ('!' an error), "DD Mon" in 3-8, HH:MM:SS in 10-17, the task
// name in 19-22 (only "BINK" lines are parsed) and the message from column 24; lines written
// with hundredths (HH:MM:SS.hh) have the task and the message three columns further right.
class TBinkPLog : public TMailerLog
{
public:
    TBinkPLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    void NoteWord(std::string_view word, int col, bool lineStart) override { Words.Note(word, col, lineStart); }
    TDateTime DateOfLine(std::string_view line) override;
    void ParseLine(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    void LoadLanguage() override;
    void LoadConfig() override;
    std::string ConfigFile() const override;
    std::vector<std::pair<std::string, std::string>> TakenPhrases() const override;
    bool ReadsLanguage() const override { return true; }

    bool CallFlag = false;
    bool SendFlag = false;
    bool HumanFlag = false;
    std::unique_ptr<TBinkLng> Lng;
    std::string InfoWord1, InfoWord2, InfoWord3;
    std::string TransferWord1, TransferWord2;
    std::string HumanWord;
    std::string OkFile, Avail, About;

private:
    // Phrase n as the parser compares it, taken once when the table is loaded.
    const std::string& Phrase(int n) const;
    void ReadOkFile(const std::string& fileName);
    void ParseInSession(std::string_view line, std::string_view msg);

    std::vector<std::string> Phrases;  // by number; only the used ones are filled
    std::string Raw273;
    std::size_t Msg = 23;  // 0-based column of the message in the line being parsed
    TBinkWordColumns Words;
};

}  // namespace tarvex
