#pragma once

#include "framework/files/FileSystem.h"

// The system's own files.
class CWin32FileSystem final : public IFileSystem
{
public:
    static CWin32FileSystem& Instance();

    [[nodiscard]] int Open(const wchar_t* pszPath, const SFileOpenRequest& request,
                           std::unique_ptr<IFileDevice>& pDevice) override;
    [[nodiscard]] int RemoveFile(const wchar_t* pszPath) override;
    [[nodiscard]] int GetSectorSize(const wchar_t* pszPath, std::uint32_t& nSectorSize) override;
    std::uint32_t GetPageSize() override;
    CPathString GetWorkingDirectory() override;
};
