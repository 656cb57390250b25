#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Home of GetDriveSpace. It owns a list of objects it deletes on destruction;
// the installer never fills it.
class CDriveSpaceAdmin
{
public:
    CDriveSpaceAdmin() = default;
    virtual ~CDriveSpaceAdmin();

    // Free and total bytes of a drive such as "C:". Nothing is written for a null or
    // empty drive; a failing query leaves both at 0.
    static void GetDriveSpace(const std::wstring* drive, uint64_t* freeBytes, uint64_t* totalBytes);

    // Free bytes of the volume that holds `path`, which need not exist yet: the nearest
    // existing ancestor is measured. 0 when nothing along the path can be measured.
    static uint64_t GetFreeSpaceOfPath(const std::wstring& path, std::wstring* volumeShown);

private:
    struct SEntry
    {
        virtual ~SEntry() = default;
    };
    std::vector<std::unique_ptr<SEntry>> m_entries;
};
