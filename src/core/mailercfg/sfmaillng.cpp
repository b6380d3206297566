#include "mailercfg/sfmaillng.h"

#include "mailercfg/lngerror.h"

namespace tarvex {

namespace {

constexpr std::size_t CountOffset = 28;
constexpr std::size_t IndexOffset = 32;

}  // namespace

TSFMailLng::TSFMailLng(std::string_view fileName)
{
    Load(ReadLngFile(fileName));
}

TSFMailLng TSFMailLng::FromBytes(std::string_view bytes)
{
    TSFMailLng lng;
    lng.Load(bytes);
    return lng;
}

void TSFMailLng::Load(std::string_view bytes)
{
    if (bytes.size() < IndexOffset)
        throw ELngError("Language file ends inside its header");
    const std::size_t count = LngWord16(bytes, CountOffset);
    const std::size_t poolStart = IndexOffset + 4 * count;
    if (bytes.size() < poolStart)
        throw ELngError("Language file ends inside its index");
    Index.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        Index[i].Id = LngWord16(bytes, IndexOffset + 4 * i);
        Index[i].Position = LngWord16(bytes, IndexOffset + 4 * i + 2);
    }
    Pool.assign(bytes.substr(poolStart));
}

std::string TSFMailLng::GetString(int id) const
{
    for (const TIndexEntry& e : Index) {
        if (e.Id != id)
            continue;
        // The first entry with the id decides, even when it is broken.
        if (e.Position == 0)
            return {};
        const std::size_t lenAt = static_cast<std::size_t>(e.Position) - 1;
        if (lenAt >= Pool.size())
            return {};
        const std::size_t len = static_cast<unsigned char>(Pool[lenAt]);
        if (len > Pool.size() - lenAt - 1)
            return {};
        return Pool.substr(lenAt + 1, len);
    }
    return {};
}

std::string TSFMailLng::GetPhrase(int id) const
{
    std::string s = GetString(id);
    const std::size_t cut = s.find("%1");
    if (cut != std::string::npos)
        s.erase(cut);
    return s;
}

}  // namespace tarvex
