#include "CCmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, nullptr } };
    static const AFX_MSGMAP messageMap = { nullptr, entries };
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn; ++pEntry) {
            if (pEntry->nMessage != nMessage)
                continue;
            if (nMessage != WM_COMMAND || (pEntry->nCode == nCode && pEntry->nID == nID))
                return pEntry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT nCode, UINT nID)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (!pEntry)
        return false;
    pEntry->pfn(this, 0, 0);
    return true;
}
