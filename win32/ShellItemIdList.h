#pragma once

#include <windows.h>

#include <shlobj.h>

// Owns an item identifier list the shell allocated; freed through the shell's allocator.
class CShellItemIdList
{
public:
    CShellItemIdList() = default;
    ~CShellItemIdList();
    CShellItemIdList(const CShellItemIdList&) = delete;
    CShellItemIdList& operator=(const CShellItemIdList&) = delete;

    PIDLIST_ABSOLUTE Get() const { return m_pList; }
    // For the call that fills it; any list held before is freed.
    PIDLIST_ABSOLUTE* Receive();

private:
    PIDLIST_ABSOLUTE m_pList = nullptr;
};
