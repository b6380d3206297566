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
        for (const TStylePhrase& p : StylePhrases(StyleFHMail))
            (void)TakePhrase(lng, p);
    } catch (const ELngError&) {
    }
    return 0;
}
