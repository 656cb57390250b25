#pragma once

#include "framework/files/FileSystem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Files in memory behind the library's system interface. A file opened without buffering
// behaves like a disk: any transfer whose position, size or memory is not a multiple of
// the sector size is refused with the system's "invalid parameter".
class CMemoryFileSystem final : public IFileSystem
{
public:
    static constexpr int kErrorFileNotFound = 2;
    static constexpr int kErrorAccessDenied = 5;
    static constexpr int kErrorSharingViolation = 32;
    static constexpr int kErrorFileExists = 80;
    static constexpr int kErrorInvalidParameter = 87;
    static constexpr int kErrorNegativeSeek = 131;

    explicit CMemoryFileSystem(std::uint32_t nSectorSize = 512) : m_nSectorSize(nSectorSize) {}

    [[nodiscard]] int Open(const wchar_t* pszPath, const SFileOpenRequest& request,
                           std::unique_ptr<IFileDevice>& pDevice) override;
    [[nodiscard]] int RemoveFile(const wchar_t* pszPath) override;
    [[nodiscard]] int GetSectorSize(const wchar_t* pszPath, std::uint32_t& nSectorSize) override;
    std::uint32_t GetPageSize() override { return 4096; }
    CPathString GetWorkingDirectory() override { return CPathString(L"D:\\work"); }

    bool Exists(const std::wstring& path) const { return m_files.count(path) != 0; }
    // The file's bytes, created empty when it does not exist.
    std::vector<unsigned char>& Contents(const std::wstring& path);
    int OpenCount(const std::wstring& path) const;
    const SFileOpenRequest& LastRequest() const { return m_lastRequest; }
    // Transfers refused for their alignment so far.
    int RefusedTransfers() const { return m_nRefused; }

private:
    class CDevice;
    struct SFile
    {
        std::vector<unsigned char> data;
        int nOpen = 0;
        bool bShared = true;
    };

    std::map<std::wstring, std::shared_ptr<SFile>> m_files;
    std::uint32_t m_nSectorSize;
    SFileOpenRequest m_lastRequest;
    int m_nRefused = 0;
};
