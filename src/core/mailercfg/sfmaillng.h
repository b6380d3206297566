#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// The SF-Mail phrase table: a 32-byte header whose bytes 28-29 give the number of index
// entries, the index of (id, 1-based pool position) pairs, then a pool of length-prefixed
// strings that runs to the end of the file.
class TSFMailLng
{
public:
    struct TIndexEntry
    {
        std::uint16_t Id = 0;
        std::uint16_t Position = 0;  // counted from 1: the length byte is pool byte Position - 1
    };

    // Reads the file at a local path; throws ELngError when it cannot be read or is shorter
    // than its header and index.
    explicit TSFMailLng(std::string_view fileName);
    static TSFMailLng FromBytes(std::string_view bytes);

    // The phrase of the first index entry with this id; empty when no entry has it or the entry
    // points outside the pool.
    std::string GetString(int id) const;
    // GetString(id) cut before its first "%1" (a lone '%' stays).
    std::string GetPhrase(int id) const;

    std::size_t Count() const { return Index.size(); }
    std::size_t PoolSize() const { return Pool.size(); }

private:
    TSFMailLng() = default;
    void Load(std::string_view bytes);

    std::vector<TIndexEntry> Index;
    std::string Pool;
};

}  // namespace tarvex
