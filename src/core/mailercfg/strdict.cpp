#include "mailercfg/strdict.h"

#include <cstddef>

#include "base/errors.h"
#include "base/logutils.h"

namespace tarvex {

namespace {

[[noreturn]] void ThrowIndex(int index)
{
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

const std::string& TStrDict::KeyAt(int index) const
{
    if (index < 0 || index >= Count())
        ThrowIndex(index);
    return Keys[static_cast<std::size_t>(index)];
}

const std::string& TStrDict::ValueAt(int index) const
{
    if (index < 0 || index >= Count())
        ThrowIndex(index);
    return Values[static_cast<std::size_t>(index)];
}

int TStrDict::IndexOf(std::string_view key) const
{
    for (std::size_t i = 0; i < Keys.size(); ++i)
        if (SameText(Keys[i], key))
            return static_cast<int>(i);
    return -1;
}

void TStrDict::SetValue(std::string_view key, std::string_view value)
{
    const int i = IndexOf(key);
    if (i >= 0) {
        Values[static_cast<std::size_t>(i)] = std::string(value);
        return;
    }
    Keys.emplace_back(key);
    Values.emplace_back(value);
}

std::string TStrDict::GetValue(std::string_view key) const { return std::string(ValueOrKey(key)); }

std::string_view TStrDict::ValueOrKey(std::string_view key) const
{
    const int i = IndexOf(key);
    return i >= 0 ? std::string_view(Values[static_cast<std::size_t>(i)]) : key;
}

void TStrDict::Clear()
{
    Keys.clear();
    Values.clear();
}

}  // namespace tarvex
