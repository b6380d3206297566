// t-mail.lng: any bytes give a table or ELngError, and every phrase number reads inside it.
#include <algorithm>

#include "fuzzsupport.h"
#include "mailercfg/lngerror.h"
#include "phrasecuts.h"
#include "mailercfg/tmaillng.h"

using namespace tarvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const TTMailLng lng = TTMailLng::FromBytes(std::string(fuzz::AsText(data, size)));
        const int last = static_cast<int>(std::min<std::size_t>(lng.Count(), 2000)) + 2;
        for (int n = -1; n <= last; ++n) {
            (void)lng.GetString(n);
            (void)lng.GetPhrase(n);
        }
        fuzz::TakeEveryCut(lng, -1, last);
    } catch (const ELngError&) {
    }
    return 0;
}
