#pragma once

#include "framework/files/FileSystem.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Files in memory behind the library's system interface. A file opened without buffering
// behaves like a disk: any transfer whose position, size or memory is not a multiple of
// the sector size is refused with the system's "invalid parameter". Faults can be planned:
// a chosen call of an open file's operation fails and changes nothing, or a read returns
// less than asked although more follows.
class CMemoryFileSystem final : public IFileSystem
{
public:
    static constexpr int kErrorFileNotFound = 2;
    static constexpr int kErrorAccessDenied = 5;
    static constexpr int kErrorSharingViolation = 32;
    static constexpr int kErrorFileExists = 80;
    static constexpr int kErrorInvalidParameter = 87;
    static constexpr int kErrorNegativeSeek = 131;
    static constexpr int kErrorDiskFull = 112;
    static constexpr int kErrorCrc = 23;

    enum class EOperation { Move, Read, Write, GetSize, Close };

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

    // The nth call of the operation from now on (1: the next one), on any open file.
    void FailNth(EOperation operation, int nNth, int nError);
    void ShortenNthRead(int nNth, std::uint32_t nBytes);
    void ClearFaults() { m_faults.clear(); }
    bool HasFaults() const { return !m_faults.empty(); }
    int Calls(EOperation operation) const { return m_calls[static_cast<int>(operation)]; }

private:
    class CDevice;
    struct SFile
    {
        std::vector<unsigned char> data;
        int nOpen = 0;
        bool bShared = true;
    };

    struct SFault
    {
        EOperation operation;
        int nCall;
        int nError;
        std::uint32_t nShortRead;
    };

    // Counts the call; the fault planned for it, if any, is taken out of the plan.
    bool NextCall(EOperation operation, SFault& fault);

    std::map<std::wstring, std::shared_ptr<SFile>> m_files;
    std::vector<SFault> m_faults;
    int m_calls[5] = {};
    std::uint32_t m_nSectorSize;
    SFileOpenRequest m_lastRequest;
    int m_nRefused = 0;
};
