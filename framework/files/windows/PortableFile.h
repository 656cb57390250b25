#pragma once

#include "framework/files/PFile.h"
#include "framework/files/PortableTime.h"

#include <cstdint>
#include <memory>

class CWindowsDirEntry;

// A file by path and open flags. The implementation that does the work (through the
// system's cache, or unbuffered with flag 8) is made on first use and again after
// SetFlags. Flags: 1 read, 2 write, 4 read and write; anything else opens nothing.
class CPortableFile : public PFile
{
public:
    static constexpr std::uint32_t kRead = 1;
    static constexpr std::uint32_t kWrite = 2;
    static constexpr std::uint32_t kReadWrite = 4;
    static constexpr std::uint32_t kUnbuffered = 8;

    // The path is made absolute when the system can; trailing separators go, and a bare
    // drive gains its backslash.
    CPortableFile(CPathString::View path, std::uint32_t nFlags);
    ~CPortableFile() override;
    CPortableFile(const CPortableFile&) = delete;
    CPortableFile& operator=(const CPortableFile&) = delete;

    std::unique_ptr<PFile> Clone() override;
    [[nodiscard]] int Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten) override;
    [[nodiscard]] int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead) override;
    int GetError() const override { return GetImplementationError(); }
    [[nodiscard]] int GetPosition(std::uint64_t* pPosition) override;
    [[nodiscard]] int Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh) override;
    [[nodiscard]] int Close() override;
    CPathString GetPath() const override { return m_path; }
    [[nodiscard]] int GetLength(std::uint64_t* pLength) override;
    [[nodiscard]] int Truncate() override;
    [[nodiscard]] int Delete() override;
    SDriveInfo GetDriveInfo() override;

    void SetFlags(std::uint32_t nFlags);
    std::uint32_t GetFlags() const { return m_nFlags; }
    // The implementation's last error; -1 while there is none.
    int GetImplementationError() const;

    bool IsDirectory() const;
    [[nodiscard]] bool GetAttributes(std::uint32_t& nAttributes) const;
    [[nodiscard]] bool SetAttributes(std::uint32_t nAttributes) const;
    bool Exists() const;
    [[nodiscard]] bool GetCreationTime(CPortableTime& time) const;
    [[nodiscard]] bool GetLastAccessTime(CPortableTime& time) const;
    [[nodiscard]] bool GetLastWriteTime(CPortableTime& time) const;
    // The entries of this directory matching the pattern.
    std::unique_ptr<CWindowsDirEntry> FindEntries(CPathString::View pattern, std::intptr_t nValue,
                                                  std::uint32_t nRequired, std::uint32_t nExcluded,
                                                  std::uint32_t nOptions) const;

    static int ModeOfFlags(std::uint32_t nFlags);

protected:
    // An empty path, kept as it is.
    struct SEmptyPath
    {
    };
    CPortableFile(SEmptyPath, std::uint32_t nFlags);

private:
    PFile& Implementation();
    [[nodiscard]] bool EntryTime(int nWhich, CPortableTime& time) const;

    CPathString m_path;
    std::uint32_t m_nFlags;
    std::unique_ptr<PFile> m_pImplementation;
};
