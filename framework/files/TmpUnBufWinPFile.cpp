#include "framework/files/TmpUnBufWinPFile.h"

CTmpUnBufWinPFile::~CTmpUnBufWinPFile()
{
    // A failure has been reported to the observer; a destructor has nobody else to tell.
    (void)Delete();
}
