#include "framework/files/TransferBufferPool.h"

#include <array>
#include <atomic>
#include <new>

namespace TransferBufferPool {

namespace {

constexpr std::size_t kAreaSize = 786432;
static_assert(kAreaSize >= (kBufferCount + 1) * kBufferSize, "room for the buffers after rounding");

std::array<std::atomic<bool>, kBufferCount> g_inUse{};

// Allocated once, at the first request, and kept for the life of the process (files
// closed during exit still give their buffers back): as a zero-filled static the area
// would be stored in the executable's file on some toolchains, 768 KiB of zeros.
unsigned char* Area()
{
    static unsigned char* const pArea = new (std::nothrow) unsigned char[kAreaSize];
    return pArea;
}

unsigned char* BufferAt(std::size_t nIndex, std::uint32_t nPageSize)
{
    auto nStart = reinterpret_cast<std::uintptr_t>(Area());
    if (nPageSize > 0 && nPageSize <= kBufferSize)
        nStart = (nStart + nPageSize - 1) / nPageSize * nPageSize;
    return reinterpret_cast<unsigned char*>(nStart) + nIndex * kBufferSize;
}

} // namespace

unsigned char* Acquire(std::uint32_t nPageSize)
{
    if (Area() == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < kBufferCount; ++i) {
        bool bFree = false;
        if (g_inUse[i].compare_exchange_strong(bFree, true))
            return BufferAt(i, nPageSize);
    }
    return nullptr;
}

void Release(unsigned char* pBuffer)
{
    if (pBuffer == nullptr)
        return;
    const auto nOffset = static_cast<std::size_t>(pBuffer - BufferAt(0, 0));
    g_inUse[nOffset / kBufferSize].store(false);
}

} // namespace TransferBufferPool
