#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "log/mailerlog.h"
#include "mailercfg/strdict.h"
#include "mailercfg/tmaillng.h"

namespace tarvex {

// Logs of the T-Mail mailer. The mailer writes its log from a translatable phrase table, so
// events are recognised by the phrases of the user's own t-mail.lng, never by fixed English.
// Line layout: DD/MM in columns 1-5, HH:MM:SS in 7-14, the message from column 16; connect
// and summary lines carry the byte 254 at column 16.
class TTmailLog : public TMailerLog
{
public:
    TTmailLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    TDateTime DateOfLine(std::string_view line) override;
    void ParseLine(std::string_view line) override;
    void CheckNewDay(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    std::string LocateFile(std::string_view name) override;
    void LoadLanguage() override;
    void LoadConfig() override;
    std::string ConfigFile() const override;
    std::vector<std::pair<std::string, std::string>> TakenPhrases() const override;
    bool ReadsLanguage() const override { return true; }

    // Looks a name up in one binary files index; empty when it is not there.
    std::string LookupFilesIndex(std::string_view indexFile, std::string_view name);

    std::unique_ptr<TTMailLng> Lng;
    std::string HumanWord;
    std::string FailWord;
    std::string ErrorWord;
    std::string InfoWord;
    std::string FreqDirFile;
    std::string FreqIndexFile;
    std::string AliasFile;
    bool SkipBlock = false;
    std::uint8_t Block256 = 0;
    TDateTime CachedDate = 0;
    std::vector<std::string> FreqDirs;
    std::vector<std::string> FilesIndexes;
    TStrDict AddressAliases;
    // The viewer hands the colouring questions the log's own bytes, so this is always 254.
    char Marker = '\xFE';

private:
    std::string AddrError;  // scratch of the address reads on damaged lines
    static constexpr std::size_t PhraseSlots = 588;

    // Phrase n of the language table cut before its placeholder, taken once when it is loaded.
    // Inline views: the parser asks for several phrases on every line.
    std::string_view Phrase(int n) const
    {
        return n >= 0 && static_cast<std::size_t>(n) < PhraseSlots ? PhraseViews[static_cast<std::size_t>(n)]
                                                                  : std::string_view();
    }
    void ReadAddressAliases(const std::string& fileName);
    std::string_view TextAfterPhrase(std::string_view line, int phrase) const;

    // The last date encoded and its year, month and day (none yet: 0, never a valid month).
    std::array<int, 4> EncodedKey{0, 0, 0, 0};
    TDateTime EncodedDate = 0;
    std::vector<std::string> Phrases;
    // Views of Phrases, which stays untouched once loaded.
    std::array<std::string_view, PhraseSlots> PhraseViews{};
};

}  // namespace tarvex
