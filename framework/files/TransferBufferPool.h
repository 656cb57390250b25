#pragma once

#include <cstddef>
#include <cstdint>

// The process's five page-aligned transfer buffers of 131072 bytes for unbuffered files.
// Taking and giving back are safe from any thread.
namespace TransferBufferPool {

inline constexpr std::size_t kBufferCount = 5;
inline constexpr std::size_t kBufferSize = 131072;

// None when all five are taken.
unsigned char* Acquire(std::uint32_t nPageSize);
void Release(unsigned char* pBuffer);

} // namespace TransferBufferPool
