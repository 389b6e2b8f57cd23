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

CImageList::CImageList() : m_hImageList(NULL), m_bOwner(false) {}

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return nullptr;
    return TemporaryImageLists().Get(hImageList,
                                     [](CImageList& list, HIMAGELIST h) { list.m_hImageList = h; /* borrowed */ });
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(::ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return FALSE;
    DeleteImageList();
    m_hImageList = hImageList;
    m_bOwner = true;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = NULL;
    m_bOwner = false;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    BOOL bResult = m_bOwner ? ::ImageList_Destroy(m_hImageList) : TRUE;
    m_hImageList = NULL;
    m_bOwner = false;
    return bResult;
}

int CImageList::Add(HICON hIcon) { return ::ImageList_AddIcon(m_hImageList, hIcon); }

int CImageList::GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }

HICON CImageList::ExtractIcon(int nImage) { return ::ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
