// A Word document through automation (see WordApplication.h).
#pragma once
#include "classlib/COleDispatchDriver.h"

class WordDocument : public COleDispatchDriver {
public:
    WordDocument() {}
    explicit WordDocument(LPDISPATCH lpDispatch) : COleDispatchDriver(lpDispatch) {}

    // Document.SaveAs with its eleven arguments, each by reference, in Word's order.
    void SaveAs(VARIANT* FileName, VARIANT* FileFormat, VARIANT* LockComments, VARIANT* Password,
                VARIANT* AddToRecentFiles, VARIANT* WritePassword, VARIANT* ReadOnlyRecommended,
                VARIANT* EmbedTrueTypeFonts, VARIANT* SaveNativePictureFormat, VARIANT* SaveFormsData,
                VARIANT* SaveAsAOCELetter);
};
