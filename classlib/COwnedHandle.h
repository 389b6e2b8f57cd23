#pragma once
// A Win32 handle that its holder either owns or borrows, with the way to free it in the type:
// Free()(h) frees an owned handle when the holder lets go of it (Release, Own of another
// handle, destruction); a borrowed handle is only forgotten. Detach gives a handle back unfreed.
//   COwnedHandle<HDC, QmDeleteDC> dc;  dc.Own(::CreateCompatibleDC(NULL));  // freed with dc
#include "classlib/WinTypes.h"

template <class Handle, class Free>
class COwnedHandle {
public:
    COwnedHandle() = default;
    ~COwnedHandle() { Release(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    // The handle itself, for wrappers that show it as a read-only member.
    const Handle& Get() const { return m_h; }
    bool IsOwner() const { return m_bOwner; }

    // Lets go of the current handle and takes h to free later; FALSE (nothing changes) for NULL.
    BOOL Own(Handle h)
    {
        if (h == NULL)
            return FALSE;
        Take(h, true);
        return TRUE;
    }
    // Lets go of the current handle and holds h without ever freeing it.
    void Borrow(Handle h) { Take(h, false); }
    Handle Detach()
    {
        Handle h = m_h;
        m_h = NULL;
        m_bOwner = false;
        return h;
    }
    // Frees an owned handle, forgets a borrowed one. FALSE when empty; else Free's result for an
    // owned handle (a failure still forgets it), TRUE for a borrowed one.
    BOOL Release()
    {
        if (m_h == NULL)
            return FALSE;
        const BOOL bResult = m_bOwner ? Free()(m_h) : TRUE;
        Detach();
        return bResult;
    }

private:
    void Take(Handle h, bool bOwner)
    {
        Release();
        m_h = h;
        m_bOwner = bOwner;
    }

    Handle m_h = NULL;
    bool m_bOwner = false;
};
