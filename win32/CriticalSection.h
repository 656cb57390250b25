#pragma once

#include <windows.h>

// A critical section and its scoped lock.
class CCriticalSection
{
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() { ::EnterCriticalSection(&m_section); }
    void Unlock() { ::LeaveCriticalSection(&m_section); }

    class CScopedLock
    {
    public:
        explicit CScopedLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
        ~CScopedLock() { m_section.Unlock(); }
        CScopedLock(const CScopedLock&) = delete;
        CScopedLock& operator=(const CScopedLock&) = delete;

    private:
        CCriticalSection& m_section;
    };

private:
    CRITICAL_SECTION m_section;
};
