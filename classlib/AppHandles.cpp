#include "classlib/AppHandles.h"

#include <atomic>

// Set once at start-up, read from any thread.
static std::atomic<HINSTANCE> g_hInstance{nullptr};
static std::atomic<HINSTANCE> g_hResources{nullptr};

static HINSTANCE ProcessModule()
{
#ifdef _WIN32
    return ::GetModuleHandleW(nullptr);  // never fails for the process's own executable
#else
    return nullptr;
#endif
}

HINSTANCE AfxGetInstanceHandle()
{
    HINSTANCE h = g_hInstance.load();
    return h ? h : ProcessModule();
}

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_hResources.load();
    return h ? h : AfxGetInstanceHandle();
}

void AfxSetInstanceHandle(HINSTANCE instance)
{
    g_hInstance.store(instance);
}

void AfxSetResourceHandle(HINSTANCE resources)
{
    g_hResources.store(resources);
}

CString AfxGetModuleBaseName()
{
    CString name;
#ifdef _WIN32
    // A path longer than the buffer is cut by GetModuleFileNameW; grow until it fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.GetBuffer(size), size);
        if (length == 0) {
            name.ReleaseBuffer(0);
            return name;  // no name to give: an empty title
        }
        if (length < size) {
            name.ReleaseBuffer(length);
            break;
        }
        if (size >= 32768) {
            name.ReleaseBuffer(length);
            break;
        }
    }
    const int slash = name.ReverseFind(L'\\');
    if (slash >= 0)
        name = name.Mid(slash + 1);
    const int dot = name.ReverseFind(L'.');
    if (dot > 0)
        name = name.Left(dot);
#endif
    return name;
}
