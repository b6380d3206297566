#include "mailercfg/stylephrases.h"

#include <stdexcept>

#include "base/logutils.h"
#include "mailercfg/binklng.h"
#include "mailercfg/fhmailcfg.h"
#include "mailercfg/fhmaillng.h"
#include "mailercfg/qparser.h"
#include "mailercfg/sfmaillng.h"
#include "mailercfg/tmaillng.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

constexpr TStylePhrase K(std::string_view key, TPhraseCut cut = TPhraseCut::Phrase, std::string_view def = {})
{
    return TStylePhrase{0, key, cut, def};
}

constexpr TStylePhrase FHMailPhrases[] = {
    K("POST_SESSION", TPhraseCut::FirstWord),
    K("STARTING_PROCESS", TPhraseCut::FirstWord),
    K("FINISHING", TPhraseCut::FirstWord),
    K("BBSCALL"),
    K("RING", TPhraseCut::Phrase, "Ring"),
    K("BUSY", TPhraseCut::Phrase, "Busy"),
    K("NO_CARRIER", TPhraseCut::Phrase, "No Carrier"),
    K("DIALING"),
    K("REMOTE_ADDRESS"),
    K("SESSION_ABORT"),
    K("SESSION_COMPLETE"),
    K("POST_HISTORY"),
    K("REMOTE_NAME"),
    K("REMOTE_SYSOP"),
    K("REMOTE_SYSOP2"),
    K("FREQ"),
    K("PASSWORD_PROTECTED"),
    K("BAD_PASSWORD"),
    K("PARTIALLY_SENT"),
    K("TX_RESUMED"),
    K("RX_RESUMED"),
};

constexpr TStylePhrase SFMailPhrases[] = {
    PhraseNo(1082), PhraseNo(2034), PhraseNo(2032), PhraseNo(1157), PhraseNo(1158), PhraseNo(2035), PhraseNo(1084), PhraseNo(1085), PhraseNo(1087),
    PhraseNo(1094), PhraseNo(2040), PhraseNo(1027), PhraseNo(2012), PhraseNo(1125), PhraseNo(1115), PhraseNo(1159), PhraseNo(1160),
};

template <class TLng>
std::string Cut(const TLng& lng, const TStylePhrase& p)
{
    switch (p.Cut) {
    case TPhraseCut::Raw:
        return lng.GetString(p.Number);
    case TPhraseCut::FirstWord:
        return WordAt(1, lng.GetPhrase(p.Number), " ");
    case TPhraseCut::Phrase:
        break;
    }
    return lng.GetPhrase(p.Number);
}

template <class TLng>
std::vector<std::pair<std::string, std::string>> ListNumbered(const TLng& lng, std::span<const TStylePhrase> phrases)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const TStylePhrase& p : phrases)
        out.emplace_back(std::to_string(p.Number), TakePhrase(lng, p));
    return out;
}

// The FHMail style finds its language file through fhmail.cfg. When there is no fhmail.cfg at
// all the default name stands; any other trouble with it is reported.
std::string FHMailLanguagePath(std::string_view mailerPath)
{
    std::string language(StyleLanguageFile(StyleFHMail));
    const std::string cfg = JoinMailerPath(mailerPath, "fhmail.cfg");
    if (FileExists(ResolvePath(cfg))) {
        std::string aliasList;
        TQParser parser;
        SetUpFHMailConfigParser(parser, aliasList, language);
        parser.Parse(cfg);
    }
    return ResolvePath(JoinMailerPath(mailerPath, language));
}

}  // namespace

std::span<const TStylePhrase> StylePhrases(int style)
{
    switch (style) {
    case StyleFHMail:
        return FHMailPhrases;
    case StyleSFMail:
        return SFMailPhrases;
    default:
        return {};
    }
}

std::string_view StyleLanguageFile(int style)
{
    switch (style) {
    case StyleTMail:
        return "t-mail.lng";
    case StyleBinkPlus:
        return "binkley.lng";
    case StyleFHMail:
        return "fhmail.lng";
    case StyleSFMail:
        return "sf-mail.lng";
    default:
        return {};
    }
}

std::string TakePhrase(const TTMailLng& lng, const TStylePhrase& p) { return Cut(lng, p); }
std::string TakePhrase(const TBinkLng& lng, const TStylePhrase& p) { return Cut(lng, p); }
std::string TakePhrase(const TSFMailLng& lng, const TStylePhrase& p) { return Cut(lng, p); }

std::string TakePhrase(const TFHMailLng& lng, const TStylePhrase& p)
{
    std::string s = lng.GetPhrase(p.Key);
    if (!p.Default.empty() && s == p.Key)
        s = p.Default;
    if (p.Cut == TPhraseCut::FirstWord)
        s = WordAt(1, s, " ");
    return s;
}

std::vector<std::pair<std::string, std::string>> LoadStylePhrases(int style, std::string_view mailerPath)
{
    const std::span<const TStylePhrase> phrases = StylePhrases(style);
    const auto local = [&](int s) { return ResolvePath(JoinMailerPath(mailerPath, StyleLanguageFile(s))); };
    switch (style) {
    case StyleSFMail:
        return ListNumbered(TSFMailLng(local(style)), phrases);
    case StyleFHMail: {
        const TFHMailLng lng(FHMailLanguagePath(mailerPath));
        std::vector<std::pair<std::string, std::string>> out;
        for (const TStylePhrase& p : phrases)
            out.emplace_back(std::string(p.Key), TakePhrase(lng, p));
        return out;
    }
    default:
        throw std::invalid_argument("Style " + std::to_string(style) + " has no language file");
    }
}

}  // namespace tarvex
