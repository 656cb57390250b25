#pragma once

#include "framework/files/FileDevice.h"
#include "framework/files/FileErrorSink.h"
#include "framework/files/FileSystem.h"
#include "framework/files/PFile.h"

#include <memory>

// What the system files share: the open mode, the last error, the open file (none while
// closed), the path and the observer. The file is closed until an operation opens it.
class CPortableBaseWinPFile : public PFile
{
public:
    CPortableBaseWinPFile(CPathString::View path, int nMode, IFileErrorSink* pObserver, IFileSystem& fileSystem);
    ~CPortableBaseWinPFile() override = default;
    CPortableBaseWinPFile(const CPortableBaseWinPFile&) = delete;
    CPortableBaseWinPFile& operator=(const CPortableBaseWinPFile&) = delete;

    int GetError() const override { return m_nError; }
    CPathString GetPath() const override { return m_path; }
    [[nodiscard]] int GetLength(std::uint64_t* pLength) override;
    [[nodiscard]] int Truncate() override;
    [[nodiscard]] int Delete() override;
    SDriveInfo GetDriveInfo() override;

    [[nodiscard]] virtual int Open(int nMode) = 0;

    int GetMode() const { return m_nMode; }
    bool IsOpen() const { return m_pDevice != nullptr; }

protected:
    // Stores the error as the last one and, when it is one, reports it.
    int SetError(int nError, int nLocation, const wchar_t* pszSource);
    int Fail(int nError, int nLocation) { return SetError(nError, nLocation, GetSourceName()); }
    virtual const wchar_t* GetSourceName() const;
    // Closes the file that is about to be removed: what is not written yet need not be, and
    // the file is let go whatever the result.
    [[nodiscard]] virtual int Discard() { return Close(); }
    // Opens the path as asked; the last error tells the result.
    int OpenDevice(const SFileOpenRequest& request, int nLocation);
    // Closes the open file, if any.
    int CloseDevice(int nLocation);

    IFileDevice& Device() { return *m_pDevice; }
    IFileSystem& FileSystem() { return m_fileSystem; }
    IFileErrorSink* Observer() const { return m_pObserver; }
    void SetMode(int nMode) { m_nMode = nMode; }
    // The start of every Open: true when the file is already open in that mode, or when
    // closing it for the new mode failed (`nResult` then holds Close's error). Otherwise
    // the file is closed, takes the new mode and has no last error.
    [[nodiscard]] bool OpenIsSettled(int nMode, int& nResult);
    void SetLastError(int nError) { m_nError = nError; }

private:
    int m_nMode;
    int m_nError = 0;
    std::unique_ptr<IFileDevice> m_pDevice;
    CPathString m_path;
    IFileErrorSink* m_pObserver;
    IFileSystem& m_fileSystem;
};
