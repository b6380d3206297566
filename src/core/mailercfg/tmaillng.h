#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// The T-Mail phrase table: NUL-terminated strings one after another, phrase 1 first; the last
// two bytes of the file are a trailer and never part of a phrase.
class TTMailLng
{
public:
    // Reads the file at a local path; throws ELngError when it cannot be read.
    explicit TTMailLng(std::string_view fileName);
    static TTMailLng FromBytes(std::string bytes);

    // Phrase n (from 1) up to its NUL; empty for n < 1 or n > Count().
    std::string GetString(int n) const;
    // GetString(n) cut before its first '%' (the start of a placeholder).
    std::string GetPhrase(int n) const;

    std::size_t Count() const { return PhraseCount; }
    std::size_t Size() const { return Buffer.size(); }

private:
    TTMailLng() = default;
    void Load(std::string bytes);

    std::string Buffer;
    // Start of phrase k + 1 at entry k. Kept wide so that files past 64 KB still index right.
    std::vector<std::uint32_t> Offsets;
    std::size_t PhraseCount = 0;
};

}  // namespace tarvex
