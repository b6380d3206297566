#pragma once
#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

#include "base/chunkedlist.h"

namespace tarvex {

// The first n records of a list, whether they lie in one array or in a chunked list: the
// reports, the timeline and the session list read a log's sessions (held in chunks, so that
// millions of them never move) and other views' rows (plain arrays) alike.
template <class T>
class TRecordsView
{
public:
    TRecordsView() = default;
    TRecordsView(std::span<const T> items) : Data(items.data()), Count(items.size()) {}
    TRecordsView(const std::vector<T>& items) : Data(items.data()), Count(items.size()) {}
    TRecordsView(const TChunkedList<T>& list, std::size_t count) : List(&list), Count(std::min(count, list.size())) {}

    std::size_t size() const { return Count; }
    bool empty() const { return Count == 0; }
    const T& operator[](std::size_t i) const { return Data ? Data[i] : (*List)[i]; }
    // What the view reads from: two views of the same records at the same count are equal.
    const void* Source() const { return Data ? static_cast<const void*>(Data) : static_cast<const void*>(List); }

private:
    const T* Data = nullptr;
    const TChunkedList<T>* List = nullptr;
    std::size_t Count = 0;
};

}  // namespace tarvex
