#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "log/fidoaddr.h"

namespace tarvex {

struct TFreqEntry;

// Finds request entries without scanning the whole list: a long log holds many thousands of
// requests, and every request and sent file line would otherwise look at all of them.
// It answers exactly what a scan of the list would answer.
class TFreqIndex
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    void Clear() { ByAddr.clear(); }
    // The first entry of this request from this address.
    std::size_t FindRequest(const TFidoAddr& addr, const std::string& request) const;
    // The last entry of the address whose name is `name` or whose request matches it as a
    // wildcard pattern.
    std::size_t FindForSent(const std::vector<TFreqEntry>& freqs, const TFidoAddr& addr, const std::string& name);
    // Entry i was appended to the list.
    void Added(const std::vector<TFreqEntry>& freqs, std::size_t i);
    // Entry i got a new name.
    void Renamed(const std::vector<TFreqEntry>& freqs, std::size_t i);

private:
    // What one text stands for among an address's entries: as a request and as a file name.
    // One table for both, so that a sent file costs one look-up.
    struct TKeyEntries {
        std::size_t FirstRequest = npos;
        std::size_t LastRequest = npos;
        // Entries by name, ascending; an entry renamed since may still stand under its old name.
        std::vector<std::size_t> Named;
    };
    struct TAddrEntries {
        std::unordered_map<std::string, TKeyEntries> ByKey;
        std::vector<std::string> WildRequests;
    };
    static std::uint64_t Key(const TFidoAddr& a);
    void AddName(TAddrEntries& e, const std::string& name, std::size_t i);

    std::unordered_map<std::uint64_t, TAddrEntries> ByAddr;
};

}  // namespace tarvex
