#include "classlib/CWaitCursor.h"

#include "classlib/WinTypes.h"
#include "classlib/WindowInternals.h"

namespace {

struct WaitCursorState {
    int nCount = 0;
    HCURSOR hRestore = NULL;  // the cursor shown before the first wait cursor
};

WaitCursorState& ThreadWaitState()
{
    thread_local WaitCursorState state;
    return state;
}

HCURSOR WaitCursor() { return ::LoadCursorW(NULL, IDC_WAIT); }

}  // namespace

BOOL QmApplyWaitCursor()
{
    if (ThreadWaitState().nCount == 0)
        return FALSE;
    ::SetCursor(WaitCursor());
    return TRUE;
}

CWaitCursor::CWaitCursor()
{
    WaitCursorState& state = ThreadWaitState();
    HCURSOR hPrevious = ::SetCursor(WaitCursor());
    if (state.nCount++ == 0)
        state.hRestore = hPrevious;
}

CWaitCursor::~CWaitCursor()
{
    WaitCursorState& state = ThreadWaitState();
    if (state.nCount == 0)
        return;  // made on another thread: nothing of this thread's to undo
    if (--state.nCount == 0)
        ::SetCursor(state.hRestore ? state.hRestore : ::LoadCursorW(NULL, IDC_ARROW));
}
