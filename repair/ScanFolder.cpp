#include "repair/ScanFolder.h"

#include "classlib/CFileFind.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

void ScanFolder(tagNode* pParent, CString& strFolder, BOOL bRecursive, int* pnCount, CTextWnd* pView)
{
    CString strHint;
    strHint.Format(LoadStr(IDS_LISTING_FOLDER), (LPCWSTR)strFolder);
    pView->SetHint(strHint);
    pView->StartRefreshTimer();
    CString strPattern;
    strPattern.Format(bRecursive ? L"%s\\*.*" : L"%s\\*.doc", (LPCWSTR)strFolder);
    CFileFind finder;
    BOOL bMore = finder.FindFile(strPattern);
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDots() || finder.MatchesMask(FILE_ATTRIBUTE_TEMPORARY) || finder.MatchesMask(FILE_ATTRIBUTE_SYSTEM))
            continue;
        const BOOL bDir = finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
        CString strName = finder.GetFileName();
        if (!bDir) {
            if (finder.GetLength() < 512)
                continue;
            CString strExt = strName.Right(4);
            strExt.MakeLower();
            if (strExt != L".doc")
                continue;
        }
        tagNode* pNode = new tagNode;
        pNode->strName = strName;
        pNode->strPath = finder.GetFilePath();
        pNode->bDir = bDir;
        if (!bDir)
            ++*pnCount;
        pParent->arChildren.Add(pNode);
    }
    if (bRecursive)
        for (int i = 0; i < pParent->arChildren.GetSize(); ++i)
            if (pParent->arChildren[i]->bDir)
                ScanFolder(pParent->arChildren[i], pParent->arChildren[i]->strPath, bRecursive, pnCount, pView);
}
