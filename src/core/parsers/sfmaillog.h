#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "log/mailerlog.h"
#include "mailercfg/sfmaillng.h"

namespace tarvex {

// Logs of the SF-Mail mailer. Its lines carry the time only: the date comes from the separator
// line the mailer writes when a day begins (box-drawing bytes, "DD Mon" in columns 13-18).
// Events are recognised by the phrases of the user's sf-mail.lng (numbered), by the bracketed
// marker in columns 11-13 and by a few fixed words; cfg\sf-mail.cfg names the freq alias list.
// Line layout: HH:MM:SS in columns 1-8, the marker "(x)" in 11-13, the text from column 15.
class TSFMailLog : public TMailerLog
{
public:
    TSFMailLog();

    bool IsDateColumn(int col) const override;
    bool IsErrorWord(std::string_view word) const override;
    bool ClassifyWord(std::string_view word, int col) override;
    TDateTime DateOfLine(std::string_view line) override;
    bool DatesBySeparators() const override { return true; }
    std::optional<TDateTime> SeparatorDate(std::string_view line) const override;
    void ParseLine(std::string_view line) override;
    void CheckNewDay(std::string_view line) override;
    TDateTime TimeOfLine(std::string_view line) override;
    void LoadLanguage() override;
    void LoadConfig() override;
    std::string ConfigFile() const override;
    std::vector<std::pair<std::string, std::string>> TakenPhrases() const override;
    bool ReadsLanguage() const override { return true; }

    TDateTime CurDate = 0;
    std::uint8_t CallState = 0;  // 0 no call, 1 incoming announced, 2 outgoing
    std::string FreqName;
    std::string FreqPath;
    std::unique_ptr<TSFMailLng> Lng;
    std::string HumanWord;
    std::string FrAlias = "freq.als";

private:
    const std::string& Phrase(int id) const;
    bool Starts(std::string_view line, int id) const;
    std::string_view Rest(std::string_view line, int id) const;
    void ParseOutside(std::string_view line);
    void ParseInSession(std::string_view line);

    std::vector<std::string> Phrases;  // by id; only the used ones are filled
};

}  // namespace tarvex
