#include "platform/freememory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#elif defined(_WIN32)
#include <malloc.h>
#endif

namespace tarvex {

void ReturnFreeMemory()
{
#if defined(__GLIBC__)
    (void)malloc_trim(0);
#elif defined(_WIN32)
    (void)_heapmin();
#endif
}

}  // namespace tarvex
