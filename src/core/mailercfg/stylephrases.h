#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex {

// How a log style takes a phrase from its language table.
enum class TPhraseCut : std::uint8_t {
    Phrase,     // the table's GetPhrase (cut before its placeholder)
    Raw,        // the table's GetString, placeholders and all
    FirstWord,  // first blank-delimited word of GetPhrase
};

// One phrase that a log style looks for: by number (binary tables) or by key (FHMail).
struct TStylePhrase
{
    int Number = 0;
    std::string_view Key;
    TPhraseCut Cut = TPhraseCut::Phrase;
    std::string_view Default;  // FHMail: used when the file lacks the key
};

// A phrase of a numbered table.
constexpr TStylePhrase PhraseNo(int number, TPhraseCut cut = TPhraseCut::Phrase)
{
    return TStylePhrase{number, {}, cut, {}};
}

// Style numbers of the styles that read a language file.
inline constexpr int StyleTMail = 1;
inline constexpr int StyleBinkPlus = 5;
inline constexpr int StyleFHMail = 6;
inline constexpr int StyleSFMail = 7;

// File name of the style's language file in the mailer directory (FHMail: the default, which
// fhmail.cfg may replace); empty for a style without one.
std::string_view StyleLanguageFile(int style);

// The text a style takes for one phrase from its loaded table.
class TTMailLng;
class TBinkLng;
class TSFMailLng;
class TFHMailLng;
std::string TakePhrase(const TTMailLng& lng, const TStylePhrase& p);
std::string TakePhrase(const TBinkLng& lng, const TStylePhrase& p);
std::string TakePhrase(const TSFMailLng& lng, const TStylePhrase& p);
std::string TakePhrase(const TFHMailLng& lng, const TStylePhrase& p);

}  // namespace tarvex
