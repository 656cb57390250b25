#include "framework/files/PortableWinPTmpPFile.h"

CPortableWinPTmpPFile::~CPortableWinPTmpPFile()
{
    // A failure has been reported to the observer; a destructor has nobody else to tell.
    (void)Delete();
}
