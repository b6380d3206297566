#include "base/sort.h"

#include <cstring>
#include <limits>
#include <string>

#include "base/errors.h"

namespace tarvex {

namespace {

class RecordSorter
{
public:
    RecordSorter(unsigned char* base, std::size_t recSize, RecordGreater greater, void* ctx)
        : Base(base), RecSize(recSize), Greater(greater), Ctx(ctx), Pivot(recSize), Swap(recSize)
    {
    }

    void Sort(long lo, long hi)
    {
        // Both sides are independent; the smaller one is sorted by recursion, the larger by
        // looping, so even a hostile order cannot run the stack out.
        while (lo < hi) {
            std::memcpy(Pivot.data(), At((lo + hi) / 2), RecSize);
            long i = lo, j = hi;
            do {
                while (i < hi && Greater(Pivot.data(), At(i), Ctx))
                    ++i;
                while (j > lo && Greater(At(j), Pivot.data(), Ctx))
                    --j;
                if (i <= j) {
                    if (i != j) {
                        std::memcpy(Swap.data(), At(i), RecSize);
                        std::memcpy(At(i), At(j), RecSize);
                        std::memcpy(At(j), Swap.data(), RecSize);
                    }
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

private:
    unsigned char* At(long index) { return Base + static_cast<std::size_t>(index) * RecSize; }

    unsigned char* Base;
    std::size_t RecSize;
    RecordGreater Greater;
    void* Ctx;
    std::vector<unsigned char> Pivot;
    std::vector<unsigned char> Swap;
};

}  // namespace

void SortRecords(void* base, std::size_t count, std::uint16_t recSize, RecordGreater greater, void* ctx)
{
    if (count < 2 || recSize == 0)
        return;
    if (base == nullptr || greater == nullptr)
        throw EListError("No records or no comparison to sort with");
    if (count > static_cast<std::size_t>(std::numeric_limits<long>::max()))
        throw EListError("Too many records to sort (" + std::to_string(count) + ")");
    RecordSorter(static_cast<unsigned char*>(base), recSize, greater, ctx).Sort(0, static_cast<long>(count) - 1);
}

}  // namespace tarvex
