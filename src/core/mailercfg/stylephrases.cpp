#include "mailercfg/stylephrases.h"

#include "base/logutils.h"
#include "mailercfg/binklng.h"
#include "mailercfg/fhmaillng.h"
#include "mailercfg/sfmaillng.h"
#include "mailercfg/tmaillng.h"

namespace tarvex {

namespace {

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

}  // namespace

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

}  // namespace tarvex
