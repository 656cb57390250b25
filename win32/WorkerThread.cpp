#include "WorkerThread.h"

#include <process.h>

namespace {
unsigned __stdcall ThreadEntry(void* start)
{
    const std::unique_ptr<CWorkerThread::Work> work(static_cast<CWorkerThread::Work*>(start));
    // Nothing may unwind out of the thread's first frame.
    try {
        return (*work)();
    } catch (...) {
        return 1;
    }
}
} // namespace

CWorkerThread::~CWorkerThread() = default;

std::unique_ptr<CWorkerThread> CWorkerThread::Begin(Work work)
{
    auto owned = std::make_unique<Work>(std::move(work));
    const uintptr_t handle = ::_beginthreadex(nullptr, 0, &ThreadEntry, owned.get(), 0, nullptr);
    if (handle == 0)
        return nullptr;
    owned.release();
    std::unique_ptr<CWorkerThread> thread(new CWorkerThread);
    thread->m_hThread.Reset(reinterpret_cast<HANDLE>(handle));
    return thread;
}

DWORD CWorkerThread::Wait(DWORD milliseconds) const
{
    return ::WaitForSingleObject(m_hThread.Get(), milliseconds);
}

DWORD CWorkerThread::WaitAnsweringSentMessages(DWORD milliseconds) const
{
    const HANDLE handle = m_hThread.Get();
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD remaining = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD elapsed = ::GetTickCount() - start;
            remaining = elapsed >= milliseconds ? 0 : milliseconds - elapsed;
        }
        const DWORD result = ::MsgWaitForMultipleObjects(1, &handle, FALSE, remaining, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
        // Peeking delivers the sent messages; PM_QS_SENDMESSAGE removes no posted one.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool CWorkerThread::PumpMessage()
{
    MSG msg;
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}
