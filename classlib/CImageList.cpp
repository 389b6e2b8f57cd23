#include "classlib/CImageList.h"

#include <memory>
#include <unordered_map>

#include "classlib/WindowInternals.h"

namespace {

QmTemporaryMap<HIMAGELIST, CImageList>& TemporaryImageLists()
{
    return QmGetThreadState().imageLists;
}

}  // namespace

void QmFreeTemporaryImageLists()
{
    TemporaryImageLists().FreeAll([](CImageList& list) { list.Detach(); });
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return nullptr;
    return TemporaryImageLists().Get(hImageList,
                                     [](CImageList& list, HIMAGELIST h) { list.m_list.Borrow(h); });
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList) { return m_list.Own(hImageList); }

HIMAGELIST CImageList::Detach() { return m_list.Detach(); }

int CImageList::Add(HICON hIcon) { return ::ImageList_AddIcon(m_hImageList, hIcon); }
