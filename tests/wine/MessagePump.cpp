#include "MessagePump.h"

void PumpMessagesFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < milliseconds);
}
