#include "ShellItemIdList.h"

CShellItemIdList::~CShellItemIdList()
{
    ::CoTaskMemFree(m_pList);
}

PIDLIST_ABSOLUTE* CShellItemIdList::Receive()
{
    ::CoTaskMemFree(m_pList);
    m_pList = nullptr;
    return &m_pList;
}
