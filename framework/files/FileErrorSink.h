#pragma once

// Told about every failed system call of the files: which source, which call (a location
// number), the error and the path.
class IFileErrorSink
{
public:
    virtual ~IFileErrorSink() = default;
    virtual void ReportError(const wchar_t* pszSource, int nLocation, int nError, const wchar_t* pszPath) = 0;
};

// The observer every file made by the library reports to; none unless installed.
void SetProcessFileErrorSink(IFileErrorSink* pSink);
IFileErrorSink* GetProcessFileErrorSink();
