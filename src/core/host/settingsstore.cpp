#include "host/settingsstore.h"

#include <algorithm>
#include <charconv>

namespace tarvex {

namespace {

bool SameTextAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto la = static_cast<unsigned char>(a[i]);
        auto lb = static_cast<unsigned char>(b[i]);
        if (la >= 'A' && la <= 'Z') la = static_cast<unsigned char>(la + 32);
        if (lb >= 'A' && lb <= 'Z') lb = static_cast<unsigned char>(lb + 32);
        if (la != lb)
            return false;
    }
    return true;
}

bool ParseSettingInt(std::string_view s, long long& out)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    bool neg = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    unsigned long long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || p != s.data() + s.size() || v > 0xFFFFFFFFull)
        return false;
    out = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
    return true;
}

}  // namespace

std::string ISettingsStore::ReadString(std::string_view section, std::string_view ident, std::string_view def) const
{
    std::string v;
    if (ReadValue(section, ident, v))
        return v;
    return std::string(def);
}

int ISettingsStore::ReadInteger(std::string_view section, std::string_view ident, int def) const
{
    std::string v;
    long long n = 0;
    if (!ReadValue(section, ident, v) || !ParseSettingInt(v, n))
        return def;
    // Hexadecimal values such as colours use all 32 bits: keep their bit pattern.
    return static_cast<int>(static_cast<unsigned int>(n & 0xFFFFFFFF));
}

bool ISettingsStore::ReadBool(std::string_view section, std::string_view ident, bool def) const
{
    std::string v;
    long long n = 0;
    if (!ReadValue(section, ident, v) || !ParseSettingInt(v, n))
        return def;
    return n != 0;
}

void ISettingsStore::WriteInteger(std::string_view section, std::string_view ident, long long value)
{
    WriteString(section, ident, std::to_string(value));
}

void ISettingsStore::WriteBool(std::string_view section, std::string_view ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

const TMemorySettings::TSection* TMemorySettings::Find(std::string_view section) const
{
    for (const auto& s : Data)
        if (SameTextAscii(s.Name, section))
            return &s;
    return nullptr;
}

bool TMemorySettings::ReadValue(std::string_view section, std::string_view ident, std::string& value) const
{
    const TSection* s = Find(section);
    if (!s)
        return false;
    for (const auto& [k, v] : s->Values)
        if (SameTextAscii(k, ident)) {
            value = v;
            return true;
        }
    return false;
}

void TMemorySettings::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    auto* s = const_cast<TSection*>(Find(section));
    if (!s) {
        Data.push_back({std::string(section), {}});
        s = &Data.back();
    }
    for (auto& [k, v] : s->Values)
        if (SameTextAscii(k, ident)) {
            v = value;
            return;
        }
    s->Values.emplace_back(std::string(ident), std::string(value));
}

bool TMemorySettings::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

void TMemorySettings::EraseSection(std::string_view section)
{
    std::erase_if(Data, [&](const TSection& s) { return SameTextAscii(s.Name, section); });
}

std::vector<std::pair<std::string, std::string>> TMemorySettings::ReadSection(std::string_view section) const
{
    const TSection* s = Find(section);
    return s ? s->Values : std::vector<std::pair<std::string, std::string>>{};
}

std::vector<std::string> TMemorySettings::Sections() const
{
    std::vector<std::string> names;
    for (const auto& s : Data)
        names.push_back(s.Name);
    return names;
}

}  // namespace tarvex
