#include "report/addrlist.h"

#include <algorithm>

namespace tarvex {

int TAddrList::IndexOf(const std::optional<TFidoAddr>& a) const { return a ? IndexOf(*a) : -1; }

int TAddrList::IndexOf(const TFidoAddr& a) const
{
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Equal(Items[i], a))
            return static_cast<int>(i);
    return -1;
}

void TAddrList::LoadFromLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        Items.push_back(TFidoAddr::Parse(line));
}

void TAddrList::SaveToLines(std::vector<std::string>& lines) const
{
    for (const TFidoAddr& a : Items)
        lines.push_back(a.ToString());
}

void TAddrList::Load(const ISettingsStore& store, std::string_view section, std::string_view prefix)
{
    const std::string p(prefix);
    // A damaged count must not keep us reading for hours.
    const int count = std::min(store.ReadInteger(section, p + "Cnt", 0), 100000);
    for (int i = 0; i < count; ++i) {
        const std::string text = store.ReadString(section, p + std::to_string(i), "");
        if (!text.empty())
            Items.push_back(TFidoAddr::Parse(text));
    }
}

void TAddrList::Save(ISettingsStore& store, std::string_view section, std::string_view prefix) const
{
    const std::string p(prefix);
    store.WriteInteger(section, p + "Cnt", static_cast<long long>(Items.size()));
    for (std::size_t i = 0; i < Items.size(); ++i)
        store.WriteString(section, p + std::to_string(i), Items[i].ToString());
}

}  // namespace tarvex
