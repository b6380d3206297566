#include "log/freqindex.h"

#include <algorithm>

#include "base/logutils.h"
#include "log/mailerlog.h"

namespace tarvex {

std::uint64_t TFreqIndex::Key(const TFidoAddr& a)
{
    return (std::uint64_t{a.Zone} << 48) | (std::uint64_t{a.Net} << 32) | (std::uint64_t{a.Node} << 16) | a.Point;
}

std::size_t TFreqIndex::TAddrEntries::Bit(std::string_view key)
{
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (char c : key)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return (h ^ (h >> 16)) % 1024u;
}

std::size_t TFreqIndex::FindRequest(const TFidoAddr& addr, const std::string& request) const
{
    const auto a = ByAddr.find(Key(addr));
    if (a == ByAddr.end())
        return npos;
    if (!a->second.MayHold(request))
        return npos;
    const auto r = a->second.ByKey.find(request);
    return r == a->second.ByKey.end() ? npos : r->second.FirstRequest;
}

std::size_t TFreqIndex::FindForSent(const TFreqList& freqs, const TFidoAddr& addr,
                                    const std::string& name)
{
    const auto a = ByAddr.find(Key(addr));
    if (a == ByAddr.end())
        return npos;
    TAddrEntries& e = a->second;
    std::size_t best = npos;
    auto consider = [&best](std::size_t i) {
        if (i != npos && (best == npos || i > best))
            best = i;
    };
    if (auto n = e.MayHold(name) ? e.ByKey.find(name) : e.ByKey.end(); n != e.ByKey.end()) {
        auto& list = n->second.Named;
        while (!list.empty() && freqs[list.back()].Freq.Name != name)
            list.pop_back();
        if (!list.empty())
            consider(list.back());
        consider(n->second.LastRequest);
    }
    for (const auto& wild : e.WildRequests)
        if (MatchWild(name, wild, false))
            consider(e.ByKey.at(wild).LastRequest);
    return best;
}

void TFreqIndex::AddName(TAddrEntries& e, const std::string& name, std::size_t i)
{
    auto& list = e.Entry(name).Named;
    const auto at = std::lower_bound(list.begin(), list.end(), i);
    if (at == list.end() || *at != i)
        list.insert(at, i);
}

void TFreqIndex::Added(const TFreqList& freqs, std::size_t i)
{
    const TFreqEntry& f = freqs[i];
    TAddrEntries& e = ByAddr[Key(f.Freq.Addr)];
    TKeyEntries& k = e.Entry(f.Request);
    if (k.FirstRequest == npos)
        k.FirstRequest = i;
    const bool fresh = k.LastRequest == npos;
    k.LastRequest = i;
    if (fresh && f.Request.find_first_of("*?") != std::string::npos)
        e.WildRequests.push_back(f.Request);
    AddName(e, f.Freq.Name, i);
}

void TFreqIndex::Renamed(const TFreqList& freqs, std::size_t i)
{
    const TFreqEntry& f = freqs[i];
    AddName(ByAddr[Key(f.Freq.Addr)], f.Freq.Name, i);
}

}  // namespace tarvex
