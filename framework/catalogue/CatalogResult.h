#pragma once

#include <cstdint>

// The catalogue's public operations answer with HRESULT values. The type is spelled
// out here so that the catalogue's portable part needs no Windows header; on Windows
// it converts to and from HRESULT without loss.
using CatalogHResult = std::int32_t;

namespace CatalogHResults {
constexpr CatalogHResult kOk = 0;
constexpr CatalogHResult kUnexpected = static_cast<CatalogHResult>(0x8000FFFFu);
constexpr CatalogHResult kHandle = static_cast<CatalogHResult>(0x80070006u);

constexpr CatalogHResult FromWin32(std::uint32_t error)
{
    return static_cast<CatalogHResult>(0x80070000u | (error & 0xFFFFu));
}
} // namespace CatalogHResults

// Win32 error numbers and error origins the catalogue raises.
namespace CatalogErrors {
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kBadFormat = 9;
constexpr std::uint32_t kInvalidAccess = 12;
constexpr std::uint32_t kInvalidData = 13;
constexpr std::uint32_t kDatatypeMismatch = 1629;
constexpr std::uint32_t kUnknownProduct = 1630;

constexpr std::uint32_t kOriginContent = 0x10000;
constexpr std::uint32_t kOriginState = 0x20000;
constexpr std::uint32_t kOriginAreaKind = 0x40000;
constexpr std::uint32_t kOriginRegistry = 0x50000;
constexpr std::uint32_t kOriginConversion = 0x70000;
} // namespace CatalogErrors
