#pragma once

#include "framework/files/PortableUnBufWinPFile.h"

// An unbuffered file that disappears with its object.
class CTmpUnBufWinPFile final : public CPortableUnBufWinPFile
{
public:
    using CPortableUnBufWinPFile::CPortableUnBufWinPFile;
    ~CTmpUnBufWinPFile() override;
};
