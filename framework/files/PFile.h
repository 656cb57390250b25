#pragma once

#include "framework/files/BasicString.h"

#include <cstdint>
#include <memory>

// The drive a file lives on: kind 0 with its letter, or kind 3 when unknown.
struct SDriveInfo
{
    int nKind = 3;
    wchar_t cLetter = 0;
};

// Results of the library besides the system's own error codes.
namespace FileResult {
inline constexpr int kSuccess = 0;
inline constexpr int kInvalidArgument = -1;
inline constexpr int kInvalidSeekOrigin = 1;
inline constexpr int kInvalidOpenMode = 5;
} // namespace FileResult

// Open modes of the implementations.
namespace FileMode {
inline constexpr int kRead = 1;
inline constexpr int kWrite = 2;
inline constexpr int kReadWrite = 3;
} // namespace FileMode

// Where a seek counts from; origin 0 does not move.
namespace SeekOrigin {
inline constexpr int kNone = 0;
inline constexpr int kBegin = 1;
inline constexpr int kEnd = 2;
inline constexpr int kCurrent = 3;
} // namespace SeekOrigin

// A file by path behind one interface. Every operation returns 0 or an error code and
// keeps it as the file's last error.
class PFile
{
public:
    virtual ~PFile() = default;

    // A new, unopened object for the same path and mode, without observer.
    virtual std::unique_ptr<PFile> Clone() = 0;
    [[nodiscard]] virtual int Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten) = 0;
    [[nodiscard]] virtual int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead) = 0;
    virtual int GetError() const = 0;
    [[nodiscard]] virtual int GetPosition(std::uint64_t* pPosition) = 0;
    // The distance is the signed 64-bit value of its two halves.
    [[nodiscard]] virtual int Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh) = 0;
    [[nodiscard]] virtual int Close() = 0;
    virtual CPathString GetPath() const = 0;
    [[nodiscard]] virtual int GetLength(std::uint64_t* pLength) = 0;
    // Ends the file at the current position.
    [[nodiscard]] virtual int Truncate() = 0;
    // Closes and deletes the file.
    [[nodiscard]] virtual int Delete() = 0;
    virtual SDriveInfo GetDriveInfo() { return SDriveInfo(); }

    static std::int64_t Distance(std::uint32_t nLow, std::int32_t nHigh)
    {
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(nHigh)) << 32) | nLow);
    }
};
