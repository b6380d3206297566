#pragma once
#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tarvex {

// A text kept in a TTextStore: one pointer in the record instead of a string of its own. The
// text lives as long as the store that kept it (a log's records and its store go together).
class TStoredText
{
public:
    TStoredText() = default;
    std::string_view View() const
    {
        if (!P)
            return {};
        std::size_t n;
        std::memcpy(&n, P, sizeof n);
        return {P + sizeof n, n};
    }
    operator std::string_view() const { return View(); }
    bool empty() const { return P == nullptr; }
    std::size_t size() const { return View().size(); }
    friend bool operator==(const TStoredText& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const TStoredText& a, const TStoredText& b) { return a.View() == b.View(); }

private:
    friend class TTextStore;
    explicit TStoredText(const char* p) : P(p) {}
    const char* P = nullptr;  // the length, then the bytes
};

std::ostream& operator<<(std::ostream& out, const TStoredText& t);

// The texts of a log's records, each kept once: the same few hundred system and sysop names
// come back in millions of sessions, and a string per session cost more than the session's
// numbers. Texts are packed into large blocks that never move.
class TTextStore
{
public:
    TTextStore() = default;
    TTextStore(TTextStore&&) noexcept = default;
    TTextStore& operator=(TTextStore&&) noexcept = default;
    TTextStore(const TTextStore&) = delete;
    TTextStore& operator=(const TTextStore&) = delete;

    TStoredText Keep(std::string_view text);
    void Clear();
    std::size_t Count() const { return Known.size(); }

private:
    static constexpr std::size_t BlockSize = std::size_t{64} << 10;
    std::vector<std::unique_ptr<char[]>> Blocks;
    std::size_t Used = BlockSize;  // in the last block; full when there is none
    std::unordered_set<std::string_view> Known;  // views of the kept texts, into the blocks
};

}  // namespace tarvex
