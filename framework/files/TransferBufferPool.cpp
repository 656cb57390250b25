#include "framework/files/TransferBufferPool.h"

#include <array>
#include <atomic>

namespace TransferBufferPool {

namespace {

constexpr std::size_t kAreaSize = 786432;
static_assert(kAreaSize >= (kBufferCount + 1) * kBufferSize, "room for the buffers after rounding");

unsigned char g_area[kAreaSize];
std::array<std::atomic<bool>, kBufferCount> g_inUse{};

unsigned char* BufferAt(std::size_t nIndex, std::uint32_t nPageSize)
{
    auto nStart = reinterpret_cast<std::uintptr_t>(g_area);
    if (nPageSize > 0 && nPageSize <= kBufferSize)
        nStart = (nStart + nPageSize - 1) / nPageSize * nPageSize;
    return reinterpret_cast<unsigned char*>(nStart) + nIndex * kBufferSize;
}

} // namespace

unsigned char* Acquire(std::uint32_t nPageSize)
{
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
