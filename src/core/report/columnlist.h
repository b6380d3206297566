#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/settingsstore.h"
#include "report/column.h"

namespace tarvex {

// A view's column used when its section stores none.
struct TDefaultColumn
{
    std::int32_t ColType;
    const char* Heading;
    std::int32_t ScrWidth;
    // Characters in report files; 0 keeps the column out of them (the stored form's default).
    std::int32_t FileWidth = 0;
};

// Widths are kept in a range that no screen or report needs to leave: a stored width of a
// million characters would otherwise make every report row a megabyte.
inline constexpr std::int32_t kMaxFileWidth = 1000;
inline constexpr std::int32_t kMaxScrWidth = 10000;

// The stored form of one column: six values under "Column" + its position. Loading tells
// whether the screen width was among them.
bool LoadColumnFields(const ISettingsStore& store, std::string_view section, std::size_t pos, TColumn& column);
void SaveColumnFields(ISettingsStore& store, std::string_view section, std::size_t pos, const TColumn& column);

// Where the list positions go when the grid column at grid place `from` is dragged to grid
// place `to` (grid places count the shown columns only). Returns the new order as old list
// positions; the moved column takes the list position of the shown column whose place it took.
std::vector<std::size_t> OrderAfterGridMove(const std::vector<bool>& shown, std::size_t from, std::size_t to);

// The ordered columns of one view; the order is left to right on screen and in files.
template <class Item>
class TColumnList
{
public:
    using Column = TColumnOf<Item>;
    using Factory = std::function<std::unique_ptr<Column>()>;
    // The screen width of a column that the store gives none for, from the width it was
    // designed with (the view's default, else the stored form's 100): a width the user never
    // set is free to fit the fonts of the screen it opens on.
    using OpeningWidth = std::function<std::int32_t(const Column&, std::int32_t designWidth)>;

    std::vector<std::unique_ptr<Column>> Items;
    std::int32_t NumScr = 0;
    std::int32_t NumFile = 0;

    void CountVisible()
    {
        NumScr = NumFile = 0;
        for (const auto& c : Items) {
            NumScr += c->ShowScr ? 1 : 0;
            NumFile += c->ShowFile ? 1 : 0;
        }
    }

    // Reads "NumColumns" and the columns; with none stored, the view's defaults. Stored widths
    // are kept as they are; without `opening` a missing one is the design width.
    void Load(const ISettingsStore& store, std::string_view section, const Factory& make,
              std::span<const TDefaultColumn> defaults, const OpeningWidth& opening = {})
    {
        Items.clear();
        const int count = store.ReadInteger(section, "NumColumns", 0);
        if (count <= 0) {
            for (const TDefaultColumn& d : defaults) {
                auto c = make();
                c->ColType = d.ColType;
                c->Heading = d.Heading;
                c->ScrWidth = opening ? opening(*c, d.ScrWidth) : d.ScrWidth;
                if (d.FileWidth > 0) {
                    c->ShowFile = true;
                    c->FileWidth = d.FileWidth;
                }
                Items.push_back(std::move(c));
            }
        } else {
            // A damaged count must not make us build millions of columns.
            const int sane = std::min(count, 1000);
            for (int i = 0; i < sane; ++i) {
                auto c = make();
                if (!LoadColumnFields(store, section, static_cast<std::size_t>(i), *c) && opening)
                    c->ScrWidth = opening(*c, c->ScrWidth);
                Items.push_back(std::move(c));
            }
        }
        CountVisible();
    }

    // The k-th shown column takes the width of grid column k, so that dragged widths are kept.
    void TakeGridWidths(std::span<const int> gridWidths)
    {
        std::size_t k = 0;
        for (auto& c : Items)
            if (c->ShowScr) {
                if (k < gridWidths.size())
                    c->ScrWidth = gridWidths[k];
                ++k;
            }
    }

    void Save(ISettingsStore& store, std::string_view section, std::span<const int> gridWidths = {})
    {
        TakeGridWidths(gridWidths);
        store.WriteInteger(section, "NumColumns", static_cast<long long>(Items.size()));
        for (std::size_t i = 0; i < Items.size(); ++i)
            SaveColumnFields(store, section, i, *Items[i]);
    }

    void MoveGridColumn(std::size_t from, std::size_t to)
    {
        std::vector<bool> shown;
        for (const auto& c : Items)
            shown.push_back(c->ShowScr);
        const std::vector<std::size_t> order = OrderAfterGridMove(shown, from, to);
        std::vector<std::unique_ptr<Column>> moved;
        moved.reserve(Items.size());
        for (std::size_t i : order)
            moved.push_back(std::move(Items[i]));
        Items = std::move(moved);
        CountVisible();
    }

    std::vector<const Column*> ScreenColumns() const { return Pick(true); }
    std::vector<const Column*> FileColumns() const { return Pick(false); }

private:
    std::vector<const Column*> Pick(bool screen) const
    {
        std::vector<const Column*> out;
        for (const auto& c : Items)
            if (screen ? c->ShowScr : c->ShowFile)
                out.push_back(c.get());
        return out;
    }
};

}  // namespace tarvex
