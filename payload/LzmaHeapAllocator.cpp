#include "LzmaHeapAllocator.h"

#include <cstdlib>

namespace {

void* Allocate(void*, size_t size)
{
    return size == 0 ? nullptr : std::malloc(size);
}

void Release(void*, void* address)
{
    std::free(address);
}

ISzAlloc g_heapAllocator = {Allocate, Release};

} // namespace

ISzAlloc* LzmaHeapAllocator()
{
    return &g_heapAllocator;
}
