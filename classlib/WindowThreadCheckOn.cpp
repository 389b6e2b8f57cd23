// Compiled into every executable that links classlib_window_checked: switches the thread check
// of CWnd::SetTimer and CWnd::KillTimer on before main runs.
#include "classlib/WindowThreadCheck.h"

#ifndef QM_CHECK_WINDOW_THREAD
#error "compile with QM_CHECK_WINDOW_THREAD: this file belongs to classlib_window_checked"
#endif

namespace {
[[maybe_unused]] const bool g_bThreadCheckOn = (EnableWindowThreadCheck(), true);
}
