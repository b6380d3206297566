#include "mailercfg/tmaillng.h"

#include <cstring>
#include <utility>

#include "mailercfg/lngerror.h"

namespace tarvex {

TTMailLng::TTMailLng(std::string_view fileName)
{
    Load(ReadLngFile(fileName));
}

TTMailLng TTMailLng::FromBytes(std::string bytes)
{
    TTMailLng lng;
    lng.Load(std::move(bytes));
    return lng;
}

void TTMailLng::Load(std::string bytes)
{
    if (bytes.size() > UINT32_MAX)
        throw ELngError("Language file too large");
    Buffer = std::move(bytes);
    Offsets.assign(1, 0);
    // Only bytes 0 .. size - 3 hold phrases; a file of two bytes or less holds none.
    const std::size_t scanned = Buffer.size() >= 2 ? Buffer.size() - 2 : 0;
    for (std::size_t p = 0; p < scanned; ++p)
        if (Buffer[p] == '\0')
            Offsets.push_back(static_cast<std::uint32_t>(p + 1));
    PhraseCount = Offsets.size() - 1;
}

std::string TTMailLng::GetString(int n) const
{
    if (n < 1 || static_cast<std::size_t>(n) > PhraseCount)
        return {};
    // Phrase n ends at the n-th NUL, which lies inside the scanned bytes by construction.
    const std::size_t begin = Offsets[static_cast<std::size_t>(n) - 1];
    const std::size_t end = Offsets[static_cast<std::size_t>(n)] - 1;
    return Buffer.substr(begin, end - begin);
}

std::string TTMailLng::GetPhrase(int n) const
{
    std::string s = GetString(n);
    const std::size_t pct = s.find('%');
    if (pct != std::string::npos)
        s.erase(pct);
    return s;
}

}  // namespace tarvex
