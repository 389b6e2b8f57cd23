#include "repair/TextFileOutput.h"

#include "classlib/CFile.h"

namespace {
const BYTE kByteOrderMark[] = {0xFF, 0xFE};
// The message buffer of a file error, terminator included.
const UINT kErrorMessageChars = 512;
}  // namespace

BOOL WriteTextFile(const CString& text, const CString& path, CString* pError)
{
    pError->Empty();
    try {
        CFile file;
        if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
            return FALSE;
        file.Write(kByteOrderMark, sizeof(kByteOrderMark));
        // One write straight from the text's own buffer; a CString is below 2^31 units.
        file.Write(text.GetString(), static_cast<UINT>(text.GetLength()) * sizeof(WCHAR));
        file.Close();
        return TRUE;
    } catch (CFileException* e) {
        WCHAR message[kErrorMessageChars] = {0};
        e->GetErrorMessage(message, kErrorMessageChars);
        e->Delete();
        *pError = message;
        return FALSE;
    }
}
