#pragma once

#include <string>

#include "PayloadPath.h"

// What the payload pipeline needs from whoever runs it: the stub's worker thread on
// Windows, the packaging tool and the tests elsewhere. Keeps the pipeline portable.
class IPayloadHost
{
public:
    virtual ~IPayloadHost() = default;

    // Progress in units of 0.2 percent (0 to 500). The stub posts WM_SFX_PROGRESS to
    // its dialog; a host without a dialog may ignore it. Never blocks.
    virtual void PostProgress(unsigned value) = 0;

    // An output file (or the temporary data file) could not be opened: the stub shows
    // "Unable to open the output file %s." with the caption "Extraction failed".
    virtual void ReportOutputFileError(const CPayloadPath& path) = 0;

    // The folder everything is extracted into, or empty while there is none.
    virtual CPayloadPath PackageFolder() = 0;

    // A container name (8-bit, backslash-separated) as a path relative to the package
    // folder. The stub widens with the thread's ANSI code page; tools choose their own.
    virtual CPayloadPath NameToPath(const std::string& name) = 0;

    // False for a host that only checks a package: the data section is decoded and
    // placed but not stored, and Finish checks every file's pieces without writing.
    virtual bool StoresData() { return true; }

    // A path as 8-bit text for the error text: UTF-8 for the tools, the thread's ANSI
    // code page in the stub (its error text is read in that code page).
    virtual std::string PathToText(const CPayloadPath& path) = 0;

    // Creates a folder with all missing parents. No result: the folder usually exists,
    // and a real failure shows when a file in it cannot be opened.
    virtual void CreateFolders(const CPayloadPath& folder) = 0;

    // Removes a file if it exists. False when it is still there.
    [[nodiscard]] virtual bool RemoveFile(const CPayloadPath& path) = 0;
};
