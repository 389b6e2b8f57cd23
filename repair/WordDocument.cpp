#include "repair/WordDocument.h"

#include "repair/WordDispIds.h"

void WordDocument::SaveAs(VARIANT* FileName, VARIANT* FileFormat, VARIANT* LockComments, VARIANT* Password,
                          VARIANT* AddToRecentFiles, VARIANT* WritePassword, VARIANT* ReadOnlyRecommended,
                          VARIANT* EmbedTrueTypeFonts, VARIANT* SaveNativePictureFormat, VARIANT* SaveFormsData,
                          VARIANT* SaveAsAOCELetter)
{
    static const BYTE params[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT
        VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(DISPID_WORD_DOCUMENT_SAVEAS, DISPATCH_METHOD, VT_EMPTY, NULL, params, FileName, FileFormat,
                 LockComments, Password, AddToRecentFiles, WritePassword, ReadOnlyRecommended, EmbedTrueTypeFonts,
                 SaveNativePictureFormat, SaveFormsData, SaveAsAOCELetter);
}
