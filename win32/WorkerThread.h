#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "Handle.h"

// A worker thread whose handle stays valid for the object's whole life, also after
// the thread has ended, so the owner can wait on it at any time.
class CWorkerThread
{
public:
    // Owns what the thread works on; its result is the thread's exit code.
    using Work = std::function<unsigned()>;

    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts `work` at once with normal priority; null when it can't start (`work`
    // is then destroyed unrun).
    [[nodiscard]] static std::unique_ptr<CWorkerThread> Begin(Work work);

    HANDLE GetHandle() const { return m_hThread.Get(); }
    // WAIT_OBJECT_0 once the thread has ended, WAIT_TIMEOUT before.
    DWORD Wait(DWORD milliseconds) const;
    // Waits for the thread's end while answering messages other threads send to this
    // one (a message box they own needs that); posted messages stay queued.
    DWORD WaitAnsweringSentMessages(DWORD milliseconds) const;

    // On the worker thread: retrieves and dispatches one message; false on WM_QUIT.
    [[nodiscard]] static bool PumpMessage();

private:
    CWorkerThread() = default;

    CKernelHandle m_hThread;
};
