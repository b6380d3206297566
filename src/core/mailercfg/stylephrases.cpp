#include "mailercfg/stylephrases.h"

#include <stdexcept>

#include "base/logutils.h"
#include "mailercfg/binklng.h"
#include "mailercfg/fhmaillng.h"
#include "mailercfg/sfmaillng.h"
#include "mailercfg/tmaillng.h"
#include "platform/paths.h"

namespace tarvex {

namespace {

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

}  // namespace

std::span<const TStylePhrase> StylePhrases(int style)
{
    switch (style) {
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
    default:
        throw std::invalid_argument("Style " + std::to_string(style) + " has no language file");
    }
}

}  // namespace tarvex
