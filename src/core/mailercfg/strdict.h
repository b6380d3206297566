#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarvex {

// An ordered dictionary of string pairs whose keys are compared without regard to case.
// Insertion order is kept because configuration defines are applied in the order they were
// written. Look-ups are linear: the tables are a few dozen entries at most.
class TStrDict
{
public:
    int Count() const { return static_cast<int>(Keys.size()); }

    // 0-based position; a position outside 0 .. Count() - 1 throws EListError.
    const std::string& KeyAt(int index) const;
    const std::string& ValueAt(int index) const;

    // Replaces the value of a key equal to `key` in any letter case (the stored key keeps its
    // spelling); otherwise appends the pair.
    void SetValue(std::string_view key, std::string_view value);

    // The value of the key, or the key itself when it is absent: callers tell a missing key by
    // comparing the result with what they asked for.
    std::string GetValue(std::string_view key) const;
    // The same without a copy: a view of the stored value, or the key itself.
    std::string_view ValueOrKey(std::string_view key) const;

    // Position of the key (any case), or -1.
    int IndexOf(std::string_view key) const;

    void Clear();

private:
    std::vector<std::string> Keys;
    std::vector<std::string> Values;
};

}  // namespace tarvex
