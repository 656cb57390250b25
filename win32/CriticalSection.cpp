#include "CriticalSection.h"

CCriticalSection::CCriticalSection()
{
    // Since Windows Vista this cannot fail.
    ::InitializeCriticalSectionAndSpinCount(&m_section, 0);
}

CCriticalSection::~CCriticalSection()
{
    ::DeleteCriticalSection(&m_section);
}
