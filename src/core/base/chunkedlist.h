#pragma once
#include <compare>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarvex {

// A list of records kept in chunks of a fixed number of elements. Appending never moves what is
// already in the list: a vector that doubles copies every record it holds, which for the
// millions of records of a log of gigabytes stalls the program for as long as that copy takes.
// Elements stay where they are for the list's life (until clear), so references to them hold
// across appends. Index access is two array look-ups.
template <class T, unsigned ChunkShift = 12>
class TChunkedList
{
    static constexpr std::size_t ChunkSize = std::size_t{1} << ChunkShift;
    static constexpr std::size_t ChunkMask = ChunkSize - 1;

    template <bool Const>
    class TIter
    {
        using List = std::conditional_t<Const, const TChunkedList, TChunkedList>;

    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const T&, T&>;
        using pointer = std::conditional_t<Const, const T*, T*>;

        TIter() = default;
        TIter(List* list, std::size_t i) : L(list), I(i) {}
        // A mutable iterator converts to a const one.
        template <bool C = Const>
            requires C
        TIter(const TIter<false>& other) : L(other.L), I(other.I)
        {
        }

        reference operator*() const { return (*L)[I]; }
        pointer operator->() const { return &(*L)[I]; }
        reference operator[](difference_type n) const { return (*L)[Index(n)]; }
        TIter& operator++() { ++I; return *this; }
        TIter operator++(int) { TIter t = *this; ++I; return t; }
        TIter& operator--() { --I; return *this; }
        TIter operator--(int) { TIter t = *this; --I; return t; }
        TIter& operator+=(difference_type n) { I = Index(n); return *this; }
        TIter& operator-=(difference_type n) { I = Index(-n); return *this; }
        friend TIter operator+(TIter a, difference_type n) { return a += n; }
        friend TIter operator+(difference_type n, TIter a) { return a += n; }
        friend TIter operator-(TIter a, difference_type n) { return a -= n; }
        friend difference_type operator-(const TIter& a, const TIter& b)
        {
            return static_cast<difference_type>(a.I) - static_cast<difference_type>(b.I);
        }
        friend bool operator==(const TIter& a, const TIter& b) { return a.I == b.I; }
        friend std::strong_ordering operator<=>(const TIter& a, const TIter& b) { return a.I <=> b.I; }

    private:
        friend class TIter<!Const>;
        std::size_t Index(difference_type n) const
        {
            return static_cast<std::size_t>(static_cast<difference_type>(I) + n);
        }
        List* L = nullptr;
        std::size_t I = 0;
    };

public:
    using value_type = T;
    using size_type = std::size_t;
    using reference = T&;
    using const_reference = const T&;
    using iterator = TIter<false>;
    using const_iterator = TIter<true>;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    std::size_t size() const { return Count; }
    bool empty() const { return Count == 0; }

    T& operator[](std::size_t i) { return Chunks[i >> ChunkShift][i & ChunkMask]; }
    const T& operator[](std::size_t i) const { return Chunks[i >> ChunkShift][i & ChunkMask]; }
    T& at(std::size_t i) { return (*this)[Checked(i)]; }
    const T& at(std::size_t i) const { return (*this)[Checked(i)]; }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return (*this)[Count - 1]; }
    const T& back() const { return (*this)[Count - 1]; }

    void push_back(const T& value) { emplace_back(value); }
    void push_back(T&& value) { emplace_back(std::move(value)); }
    template <class... Args>
    T& emplace_back(Args&&... args)
    {
        // A copy of an element of this list stays valid here: a new chunk moves nothing.
        if ((Count & ChunkMask) == 0) {
            Chunks.emplace_back();
            Chunks.back().reserve(ChunkSize);
        }
        T& added = Chunks.back().emplace_back(std::forward<Args>(args)...);
        ++Count;
        return added;
    }

    void clear()
    {
        Chunks.clear();
        Count = 0;
    }

    // Moves every element, in order, to the end of out and empties the list, handing back each
    // chunk's memory as soon as it is moved, so the two never both hold everything. tick() is
    // called after every element, for a caller that must stay responsive meanwhile.
    template <class Tick>
    void MoveInto(TChunkedList& out, Tick&& tick)
    {
        for (auto& chunk : Chunks) {
            for (T& e : chunk) {
                out.push_back(std::move(e));
                tick();
            }
            std::vector<T>().swap(chunk);
        }
        clear();
    }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, Count}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, Count}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }
    const_reverse_iterator crbegin() const { return rbegin(); }
    const_reverse_iterator crend() const { return rend(); }

private:
    std::size_t Checked(std::size_t i) const
    {
        if (i >= Count)
            throw std::out_of_range("record index out of range");
        return i;
    }

    // Each chunk is reserved whole when it is made and never grows past it, so its elements
    // never move; growing the outer vector moves only the chunks' handles.
    std::vector<std::vector<T>> Chunks;
    std::size_t Count = 0;
};

}  // namespace tarvex
