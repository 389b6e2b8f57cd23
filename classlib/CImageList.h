#pragma once
// An image list (HIMAGELIST). One that Create made or Attach took owns its list and destroys it;
// a temporary from FromHandle borrows.
#include "classlib/WinTypes.h"
#include <commctrl.h>

#include "classlib/COwnedHandle.h"

struct QmDestroyImageList {
    BOOL operator()(HIMAGELIST hImageList) const { return ::ImageList_Destroy(hImageList); }
};

class CImageList {
    COwnedHandle<HIMAGELIST, QmDestroyImageList> m_list;  // declared first: m_hImageList refers into it

public:
    const HIMAGELIST& m_hImageList = m_list.Get();  // read-only: Create, Attach, Detach change it

    CImageList() = default;
    virtual ~CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    static CImageList* FromHandle(HIMAGELIST hImageList);
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    int Add(HICON hIcon);
};
