// The FHMail language file: any text gives a table or ELngError; looking up every key it
// defines, their second phrases and the style's own keys never reads past a line.
#include "fuzzsupport.h"
#include "mailercfg/fhmaillng.h"
#include "mailercfg/lngerror.h"
#include "mailercfg/stylephrases.h"

using namespace tarvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TFHMailLng lng = TFHMailLng::FromText(fuzz::AsText(data, size));
        const TStrDict& dict = lng.Phrases();
        for (int i = 0; i < dict.Count(); ++i) {
            (void)lng.GetPhrase(dict.KeyAt(i));
            (void)lng.GetPhrase(dict.KeyAt(i) + "2");
            (void)dict.ValueAt(i);
        }
        // Keys the file defines and one it lacks, each cut every way, with a default.
        for (int i = 0; i <= dict.Count(); ++i) {
            const std::string key = i < dict.Count() ? dict.KeyAt(i) : std::string("NO_CARRIER");
            for (const TPhraseCut cut : {TPhraseCut::Phrase, TPhraseCut::Raw, TPhraseCut::FirstWord})
                (void)TakePhrase(lng, TStylePhrase{0, key, cut, "No Carrier"});
        }
    } catch (const ELngError&) {
    }
    return 0;
}
