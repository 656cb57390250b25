#pragma once

#include "framework/files/windows/PortableFile.h"

// The file object of an enumeration that has no entry (left): an empty path.
class CPortableInvalidFile final : public CPortableFile
{
public:
    CPortableInvalidFile() : CPortableFile(SEmptyPath(), kReadWrite) {}
};
