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

constexpr TStylePhrase N(int number, TPhraseCut cut = TPhraseCut::Phrase)
{
    return TStylePhrase{number, {}, cut, {}};
}

constexpr TStylePhrase K(std::string_view key, TPhraseCut cut = TPhraseCut::Phrase, std::string_view def = {})
{
    return TStylePhrase{0, key, cut, def};
}

constexpr TStylePhrase TMailPhrases[] = {
    N(2), N(3), N(4), N(424), N(587), N(15), N(16), N(21), N(26), N(32), N(33),
    N(42), N(47), N(58), N(60), N(147), N(159), N(199), N(203), N(256), N(467),
};

// The colouring words first, then the phrases of the line rules in the order they are tried.
constexpr TStylePhrase BinkPhrases[] = {
    N(100, TPhraseCut::FirstWord), N(352, TPhraseCut::FirstWord), N(353, TPhraseCut::FirstWord),
    N(305), N(293), N(16), N(183), N(273, TPhraseCut::Raw), N(102), N(304), N(126),
    N(75), N(103), N(104), N(255), N(251),
};

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
    N(1082), N(2034), N(2032), N(1157), N(1158), N(2035), N(1084), N(1085), N(1087),
    N(1094), N(2040), N(1027), N(2012), N(1125), N(1115), N(1159), N(1160),
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
    case StyleTMail:
        return TMailPhrases;
    case StyleBinkPlus:
        return BinkPhrases;
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
    case StyleTMail:
        return ListNumbered(TTMailLng(local(style)), phrases);
    case StyleBinkPlus:
        return ListNumbered(TBinkLng(local(style)), phrases);
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
