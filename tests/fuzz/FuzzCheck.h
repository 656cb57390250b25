#pragma once

// A broken property stops the fuzzer with a crash report that keeps the input.
inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
