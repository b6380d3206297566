#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fidoaddr.h"
#include "host/settingsstore.h"

namespace tarvex {

// Addresses the user wants to stand out in the statistics views. Matching is exact (no
// wildcards) and ignores the domain; duplicates are allowed, the first one found matches.
class TAddrList
{
public:
    std::size_t Count() const { return Items.size(); }
    const TFidoAddr& operator[](std::size_t i) const { return Items.at(i); }
    void Add(TFidoAddr a) { Items.push_back(std::move(a)); }
    void Clear() { Items.clear(); }

    // Position of the first equal address; -1 when there is none or no address is given.
    int IndexOf(const std::optional<TFidoAddr>& a) const;
    int IndexOf(const TFidoAddr& a) const;

    // Each line is parsed as an address and appended. A line that is no address throws the
    // parser's EConvertError; the addresses before it stay.
    void LoadFromLines(const std::vector<std::string>& lines);
    void SaveToLines(std::vector<std::string>& lines) const;

    // Prefix + "Cnt" and Prefix + 0, 1, ...; empty stored values are skipped. Saving a shorter
    // list leaves the values of the longer one behind (only the count is read back).
    void Load(const ISettingsStore& store, std::string_view section, std::string_view prefix);
    void Save(ISettingsStore& store, std::string_view section, std::string_view prefix) const;

private:
    std::vector<TFidoAddr> Items;
};

}  // namespace tarvex
