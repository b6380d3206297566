#include "report/columnlist.h"

#include <algorithm>

namespace tarvex {

namespace {

std::string Prefix(std::size_t pos) { return "Column" + std::to_string(pos); }

}  // namespace

bool LoadColumnFields(const ISettingsStore& store, std::string_view section, std::size_t pos, TColumn& column)
{
    const std::string p = Prefix(pos);
    column.ColType = store.ReadInteger(section, p + ".ColType", 0);
    column.Heading = store.ReadString(section, p + ".Heading", "");
    column.ShowScr = store.ReadBool(section, p + ".ShowScr", true);
    column.ShowFile = store.ReadBool(section, p + ".ShowFile", false);
    column.ScrWidth = std::clamp(store.ReadInteger(section, p + ".ScrWidth", 100), 0, kMaxScrWidth);
    column.FileWidth = std::clamp(store.ReadInteger(section, p + ".FileWidth", 10), 0, kMaxFileWidth);
    std::string stored;
    return store.ReadValue(section, p + ".ScrWidth", stored);
}

void SaveColumnFields(ISettingsStore& store, std::string_view section, std::size_t pos, const TColumn& column)
{
    const std::string p = Prefix(pos);
    store.WriteInteger(section, p + ".ColType", column.ColType);
    store.WriteString(section, p + ".Heading", column.Heading);
    store.WriteBool(section, p + ".ShowScr", column.ShowScr);
    store.WriteBool(section, p + ".ShowFile", column.ShowFile);
    store.WriteInteger(section, p + ".ScrWidth", column.ScrWidth);
    store.WriteInteger(section, p + ".FileWidth", column.FileWidth);
}

std::vector<std::size_t> OrderAfterGridMove(const std::vector<bool>& shown, std::size_t from, std::size_t to)
{
    std::vector<std::size_t> order(shown.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<std::size_t> shownPos;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i])
            shownPos.push_back(i);
    if (from >= shownPos.size() || to >= shownPos.size() || from == to)
        return order;
    const std::size_t fromList = shownPos[from];
    const std::size_t toList = shownPos[to];
    order.erase(order.begin() + static_cast<std::ptrdiff_t>(fromList));
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(std::min(toList, order.size())), fromList);
    return order;
}

}  // namespace tarvex
