#pragma once

#include "framework/files/PortableBaseWinPFile.h"

// A file through the system's cache. Mode 1 reads an existing file, mode 2 creates (or
// empties) it for writing, mode 3 opens or creates it for both without emptying it.
class CPortableWinPFile : public CPortableBaseWinPFile
{
public:
    CPortableWinPFile(CPathString::View path, int nMode, IFileErrorSink* pObserver, IFileSystem& fileSystem);
    ~CPortableWinPFile() override;

    std::unique_ptr<PFile> Clone() override;
    [[nodiscard]] int Write(const void* pData, std::uint32_t nCount, std::uint32_t* pWritten) override;
    [[nodiscard]] int Read(void* pBuffer, std::uint32_t nCount, std::uint32_t* pRead) override;
    [[nodiscard]] int GetPosition(std::uint64_t* pPosition) override;
    [[nodiscard]] int Seek(int nOrigin, std::uint32_t nLow, std::int32_t nHigh) override;
    [[nodiscard]] int Close() override;
    [[nodiscard]] int Open(int nMode) override;

    // Creates the file, failing with the system's "exists" error when it does: a name
    // nobody else holds. The file stays open in mode 2.
    [[nodiscard]] int CreateExclusive();

private:
    int OpenStored();
};
