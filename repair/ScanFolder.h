// Lists a folder into tagNode children (stand-in until the repair run lands).
#pragma once
#include "classlib/CString.h"
#include "controls/CTextWnd.h"
#include "engine/tagNode.h"

void ScanFolder(tagNode* pParent, CString& strFolder, BOOL bRecursive, int* pnCount, CTextWnd* pView);
