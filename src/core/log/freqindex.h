#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/chunkedlist.h"
#include "base/fidoaddr.h"

namespace tarvex {

struct TFreqEntry;
// The log's request list: a long log holds a million requests, and a list that never moves
// them grows without stalling the pass.
using TFreqList = TChunkedList<TFreqEntry>;

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
    std::size_t FindForSent(const TFreqList& freqs, const TFidoAddr& addr, const std::string& name);
    // Entry i was appended to the list.
    void Added(const TFreqList& freqs, std::size_t i);
    // Entry i got a new name.
    void Renamed(const TFreqList& freqs, std::size_t i);

private:
    // What one text stands for among an address's entries: as a request and as a file name.
    // One table for both, so that a sent file costs one look-up.
    struct TKeyEntries {
        std::size_t FirstRequest = npos;
        std::size_t LastRequest = npos;
        // Entries by name, ascending; an entry renamed since may still stand under its old name.
        std::vector<std::size_t> Named;
    };
    // Always hashed: the library's own string hash makes small tables compare the key with
    // every entry in turn, each one a cache miss in a long log.
    struct TKeyHash {
        std::size_t operator()(const std::string& s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    struct TAddrEntries {
        std::unordered_map<std::string, TKeyEntries, TKeyHash> ByKey;
        std::vector<std::string> WildRequests;
        // One bit per key of ByKey, by a hash of its text: most files sent (mail packets) were
        // never requested, and a clear bit says so without the table look-up.
        std::array<std::uint64_t, 16> KeyBits{};
        static std::size_t Bit(std::string_view key);
        bool MayHold(std::string_view key) const
        {
            const std::size_t b = Bit(key);
            return (KeyBits[b / 64] >> (b % 64)) & 1u;
        }
        TKeyEntries& Entry(const std::string& key)
        {
            const std::size_t b = Bit(key);
            KeyBits[b / 64] |= std::uint64_t{1} << (b % 64);
            return ByKey[key];
        }
    };
    static std::uint64_t Key(const TFidoAddr& a);
    void AddName(TAddrEntries& e, const std::string& name, std::size_t i);

    std::unordered_map<std::uint64_t, TAddrEntries> ByAddr;
};

}  // namespace tarvex
