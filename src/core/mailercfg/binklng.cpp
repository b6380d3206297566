#include "mailercfg/binklng.h"

#include <cstring>

#include "mailercfg/lngerror.h"

namespace tarvex {

namespace {

constexpr std::size_t HeaderSize = 12;

}  // namespace

TBinkLng::TBinkLng(std::string_view fileName)
{
    Load(ReadLngFile(fileName));
}

TBinkLng TBinkLng::FromBytes(std::string_view bytes)
{
    TBinkLng lng;
    lng.Load(bytes);
    return lng;
}

void TBinkLng::Load(std::string_view bytes)
{
    if (bytes.size() < HeaderSize)
        throw ELngError("Language file ends inside its header");
    const std::size_t count = LngWord16(bytes, 4);
    const std::size_t poolSize = LngWord16(bytes, 6);
    const std::size_t poolStart = HeaderSize + 4 * count;
    if (bytes.size() < poolStart)
        throw ELngError("Language file ends inside its offset table");
    if (bytes.size() - poolStart < poolSize)
        throw ELngError("Language file ends inside its string pool");
    Offsets.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        // Only the low half of the stored offset is meaningful; the rest is the mailer's own.
        const std::int32_t low = LngWord16(bytes, HeaderSize + 4 * i);
        Offsets[i] = low - 4;
    }
    Pool.assign(bytes.substr(poolStart, poolSize));
}

std::string TBinkLng::GetString(int n) const
{
    if (n < 0 || static_cast<std::size_t>(n) >= Offsets.size())
        return {};
    const std::int32_t off = Offsets[static_cast<std::size_t>(n)];
    if (off < 0 || static_cast<std::size_t>(off) >= Pool.size())
        return {};
    const std::size_t begin = static_cast<std::size_t>(off);
    const std::size_t nul = Pool.find('\0', begin);
    if (nul == std::string::npos)
        return {};
    return Pool.substr(begin, nul - begin);
}

std::string TBinkLng::GetPhrase(int n) const
{
    std::string s = GetString(n);
    if (!s.empty())
        s.erase(0, 1);
    const std::size_t pct = s.find('%');
    if (pct != std::string::npos)
        s.erase(pct);
    return s;
}

}  // namespace tarvex
