#pragma once
// The root of every class that takes messages or commands: windows, dialogs, the application.
// It owns nothing; it holds the message map machinery and run-time class information.
#include "classlib/WinTypes.h"
#include "classlib/CRuntimeClass.h"
#include "classlib/MessageMap.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    static const CRuntimeClass classCCmdTarget;
    virtual const CRuntimeClass* GetRuntimeClass() const;

    // Looks for a WM_COMMAND entry (control id, notification code) in this object's message map
    // chain and runs it. TRUE when an entry was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // Finds the first entry of the map chain that matches; NULL when none does.
    static const QM_MSGMAP_ENTRY* FindMessageEntry(const QM_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

protected:
    static const QM_MSGMAP* GetThisMessageMap();
    virtual const QM_MSGMAP* GetMessageMap() const;
};
