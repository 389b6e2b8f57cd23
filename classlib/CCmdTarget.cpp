#include "classlib/CCmdTarget.h"

const CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", sizeof(CCmdTarget), nullptr};

const CRuntimeClass* CCmdTarget::GetRuntimeClass() const { return &classCCmdTarget; }

const QM_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const QM_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const QM_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const QM_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

// Command and notification entries match on code and control id; reflected ones on the code
// alone (the control is the object itself); every other entry on the message alone.
static bool EntryMatches(const QM_MSGMAP_ENTRY& entry, UINT nMessage, UINT nCode, UINT nID)
{
    if (entry.nMessage != nMessage)
        return false;
    switch (nMessage) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return entry.nCode == nCode && nID == entry.nID;
    case QM_REFLECT_COMMAND:
        return entry.nCode == nCode;
    default:
        return true;
    }
}

const QM_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const QM_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const QM_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn != nullptr; ++pEntry) {
            if (EntryMatches(*pEntry, nMessage, nCode, nID))
                return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (pEntry == nullptr)
        return FALSE;
    LRESULT result = 0;
    return pEntry->pfn(this, WM_COMMAND, MAKEWPARAM(nID, nCode), 0, &result);
}
