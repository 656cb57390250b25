#include "framework/files/FileErrorSink.h"

#include <atomic>

namespace {
std::atomic<IFileErrorSink*> g_pProcessFileErrorSink{nullptr};
}

void SetProcessFileErrorSink(IFileErrorSink* pSink)
{
    g_pProcessFileErrorSink.store(pSink);
}

IFileErrorSink* GetProcessFileErrorSink()
{
    return g_pProcessFileErrorSink.load();
}
