#pragma once

#include "framework/files/PortableWinPFile.h"

// A file through the system's cache that disappears with its object.
class CPortableWinPTmpPFile final : public CPortableWinPFile
{
public:
    using CPortableWinPFile::CPortableWinPFile;
    ~CPortableWinPTmpPFile() override;
};
