#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tarvex {

// Quicksort, ascending, not stable: the pivot is the element at (L + R) / 2 and elements equal
// to it may move. Which of several equal elements ends up first is visible in the views, so the
// exact partitioning scheme matters, not just the order. compare(a, b) < 0 / 0 / > 0.
//
// Each partition is sorted independently of its sibling, so sorting the smaller side first
// (keeping the stack depth logarithmic) gives the same result as always recursing left. The
// scans are also bounded by the range, so a comparator that is not a strict order (NaN keys,
// a buggy compare) gives some order but never a read outside the list.
template <class T, class Cmp>
void SortList(std::vector<T>& list, Cmp compare)
{
    if (list.size() < 2)
        return;
    struct Sorter
    {
        std::vector<T>& List;
        Cmp& Compare;

        void Sort(std::ptrdiff_t lo, std::ptrdiff_t hi)
        {
            while (lo < hi) {
                std::ptrdiff_t i = lo, j = hi;
                const T pivot = List[static_cast<std::size_t>((lo + hi) / 2)];
                do {
                    while (i < hi && Compare(List[static_cast<std::size_t>(i)], pivot) < 0)
                        ++i;
                    while (j > lo && Compare(List[static_cast<std::size_t>(j)], pivot) > 0)
                        --j;
                    if (i <= j) {
                        if (i != j)
                            std::swap(List[static_cast<std::size_t>(i)], List[static_cast<std::size_t>(j)]);
                        ++i;
                        --j;
                    }
                } while (i <= j);
                if (j - lo < hi - i) {
                    if (lo < j)
                        Sort(lo, j);
                    lo = i;
                } else {
                    if (i < hi)
                        Sort(i, hi);
                    hi = j;
                }
            }
        }
    };
    Sorter{list, compare}.Sort(0, static_cast<std::ptrdiff_t>(list.size()) - 1);
}

// Sorts count records of recSize bytes lying back to back at base, ascending by greater(a, b)
// ("a sorts after b"), in place, with the same quicksort as SortList. The count is not limited
// to the 16 bits the mailers' own tools had: a traffic file of 100,000 nodes sorts like a small
// one. A count of 0 or 1 calls greater not at all.
using RecordGreater = bool (*)(const void* a, const void* b, void* ctx);
void SortRecords(void* base, std::size_t count, std::uint16_t recSize, RecordGreater greater, void* ctx = nullptr);

}  // namespace tarvex
