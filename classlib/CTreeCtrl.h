#pragma once
// A tree-view control. Every call is a message to the control, so a worker thread may fill the
// tree of a window that the user-interface thread owns; its notifications (TVN_SELCHANGED, ...)
// then run on the user-interface thread while the worker waits.
#include "classlib/CWnd.h"
#include "classlib/CImageList.h"

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
    HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                         UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems();

    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL GetItem(TVITEM* pItem) const;
    BOOL SetItem(TVITEM* pItem);

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetSelectedItem() const;

    BOOL Select(HTREEITEM hItem, UINT nCode);
    BOOL Expand(HTREEITEM hItem, UINT nCode);

    // Returns the previous list (a temporary) or NULL.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
};
