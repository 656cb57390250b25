#pragma once

#include <windows.h>

// Dispatches this thread's messages for `milliseconds`, so windows the test made
// paint, blink and answer before it reads them back.
void PumpMessagesFor(DWORD milliseconds);
