#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// The Bink/+ phrase table: a 12-byte header (phrase count at 4, pool size at 6), a table of
// 32-bit offsets, then the pool of NUL-terminated strings.
class TBinkLng
{
public:
    // Reads the file at a local path; throws ELngError when it cannot be read or ends before
    // the header, the table or the pool that the header announces.
    explicit TBinkLng(std::string_view fileName);
    static TBinkLng FromBytes(std::string_view bytes);

    // Phrase n (from 0) up to its NUL; empty for n outside 0 .. Count() - 1, for an offset
    // outside the pool and for a phrase without its NUL.
    std::string GetString(int n) const;
    // GetString(n) without its first character (a class byte), cut before its first '%'.
    std::string GetPhrase(int n) const;

    std::size_t Count() const { return Offsets.size(); }
    std::size_t PoolSize() const { return Pool.size(); }

private:
    TBinkLng() = default;
    void Load(std::string_view bytes);

    // Already corrected to pool offsets: low 16 bits of the stored entry minus 4. Entries whose
    // low 16 bits are below 4 come out negative and name no phrase.
    std::vector<std::int32_t> Offsets;
    std::string Pool;
};

}  // namespace tarvex
