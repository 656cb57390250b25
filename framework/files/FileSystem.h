#pragma once

#include "framework/files/BasicString.h"
#include "framework/files/FileDevice.h"

#include <cstdint>
#include <memory>

// How a file is opened, in the system's terms.
struct SFileOpenRequest
{
    enum class EAccess { Read, Write, ReadWrite };
    enum class EDisposition { OpenExisting, CreateAlways, OpenAlways, CreateNew };
    enum class EHint { Sequential, Random };

    EAccess access = EAccess::Read;
    bool bShareRead = false;
    EDisposition disposition = EDisposition::OpenExisting;
    EHint hint = EHint::Sequential;
    // Transfers must then be sector-aligned in position, size and memory.
    bool bNoBuffering = false;
};

// The system under the files: opening, deleting, and what transfers it accepts.
// Results are 0 or the system's error code.
class IFileSystem
{
public:
    virtual ~IFileSystem() = default;
    [[nodiscard]] virtual int Open(const wchar_t* pszPath, const SFileOpenRequest& request,
                                   std::unique_ptr<IFileDevice>& pDevice) = 0;
    [[nodiscard]] virtual int RemoveFile(const wchar_t* pszPath) = 0;
    // Bytes per sector of the volume holding the path.
    [[nodiscard]] virtual int GetSectorSize(const wchar_t* pszPath, std::uint32_t& nSectorSize) = 0;
    virtual std::uint32_t GetPageSize() = 0;
    virtual CPathString GetWorkingDirectory() = 0;
};
