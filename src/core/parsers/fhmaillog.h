#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "log/genericstyles.h"
#include "log/mailerlog.h"
#include "mailercfg/fhmaillng.h"

namespace tarvex {

// Logs of the FHMail mailer. It writes its messages from a text language file whose phrases are
// named by key words, so events are recognised by the phrases of the user's own file; fhmail.cfg
// names that file (Language) and the freq alias list (AliasList).
// Line layout: a marker in column 1 ('!' an error), "DD Mon" in 3-8, HH:MM:SS in 10-17, the task
// name in 19-22 (only "FHML" lines are parsed) and the message from column 24.
class TFHMailLog : public TMailerLog
{
public:
    TFHMailLog();

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

    // The phrases the parser takes, in the order TakenPhrases lists them.
    enum TKey : std::uint8_t {
        PostSession, StartingProcess, Finishing, BbsCall, Ring, Busy, NoCarrier, Dialing, RemoteAddress,
        SessionAbort, SessionComplete, PostHistory, RemoteName, RemoteSysop, RemoteSysop2, Freq,
        PasswordProtected, BadPassword, PartiallySent, TxResumed, RxResumed, KeyCount
    };

    std::uint8_t CallState = 0;  // 0 no call, 1 a ring was seen, 2 a dial was seen
    std::string AliasList;
    std::string Language = "fhmail.lng";
    std::unique_ptr<TFHMailLng> Lng;
    std::array<std::string, KeyCount> Phrases;  // as taken: first words for the colouring keys
    std::string BbsCallWord;
    std::string SendPath;

private:
    void ParseOutside(std::string_view line);
    void ParseInSession(std::string_view line);
    void ParseTransfer(std::string_view line);
    // A phrase defined empty ('') must match no line rather than every line.
    bool Starts(std::string_view line, TKey key) const { return !Phrases[key].empty() && MsgIs(line, Phrases[key]); }
    std::string_view Rest(std::string_view line, TKey key) const;
    void ReadLanguageName();

    bool ConfigRead = false;
    std::size_t Msg = 23;  // 0-based column of the message in the line being parsed
    TBinkWordColumns Words;
};

}  // namespace tarvex
