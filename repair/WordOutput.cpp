#include "repair/WordOutput.h"

#include "classlib/CException.h"
#include "classlib/COleException.h"
#include "repair/WordApplication.h"
#include "repair/WordDocument.h"
#include "repair/WordDocuments.h"
#include "repair/WordSelection.h"

namespace {

const long kWordOwnFormat = 0;  // SaveAs FileFormat: Word's own document format
const int kSaveAsArgCount = 11;

// A VARIANT cleared when it goes out of scope.
struct ScopedVariant : VARIANT {
    ScopedVariant() { ::VariantInit(this); }
    ~ScopedVariant() { ::VariantClear(this); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    void SetBool(bool value)
    {
        vt = VT_BOOL;
        boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    void SetLong(long value)
    {
        vt = VT_I4;
        lVal = value;
    }
    // A string that cannot be allocated is a failed call like any other.
    void SetString(LPCWSTR text)
    {
        bstrVal = ::SysAllocString(text);
        if (bstrVal == NULL)
            AfxThrowOleException(E_OUTOFMEMORY);
        vt = VT_BSTR;
    }
};

// Quit with "do not save", the two others left empty.
void QuitWord(WordApplication& app)
{
    ScopedVariant saveChanges, originalFormat, routeDocument;
    saveChanges.SetBool(false);
    app.Quit(&saveChanges, &originalFormat, &routeDocument);
}

void AddEmptyDocument(WordDocuments& documents)
{
    ScopedVariant templateName, newTemplate, documentType, visible;
    templateName.SetString(L"");
    newTemplate.SetBool(false);
    documentType.SetLong(0);
    LPDISPATCH added = documents.Add(&templateName, &newTemplate, &documentType, &visible);
    if (added != NULL)
        added->Release();  // the active document is asked for by itself below
}

void SaveDocumentAs(WordDocument& document, const CString& path)
{
    ScopedVariant args[kSaveAsArgCount];
    args[0].SetString(path);
    args[1].SetLong(kWordOwnFormat);
    args[2].SetBool(false);   // LockComments
    args[3].SetString(L"");   // Password
    args[4].SetBool(true);    // AddToRecentFiles
    args[5].SetString(L"");   // WritePassword
    for (int i = 6; i < kSaveAsArgCount; ++i)
        args[i].SetBool(false);
    document.SaveAs(&args[0], &args[1], &args[2], &args[3], &args[4], &args[5], &args[6], &args[7], &args[8],
                    &args[9], &args[10]);
}

// The sequence after the start; throws on the first failed call.
void SaveWithWord(WordApplication& app, const CString& text, const CString& path)
{
    app.SetVisible(FALSE);
    WordDocuments documents(app.GetDocuments());
    AddEmptyDocument(documents);
    WordSelection selection(app.GetSelection());
    selection.InsertText(text);
    WordDocument document(app.GetActiveDocument());
    SaveDocumentAs(document, path);
    selection.ReleaseDispatch();
    document.ReleaseDispatch();
    documents.ReleaseDispatch();
    QuitWord(app);
}

// A Word that failed half-way would stay running hidden: ask it to quit, and let a failure of
// that request pass, since the save has failed already.
void QuitAfterFailure(WordApplication& app)
{
    try {
        QuitWord(app);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
}

}  // namespace

BOOL SaveTextViaWord(const CString& text, const CString& path)
{
    WordApplication app;
    if (!app.CreateDispatch(L"Word.Application"))
        return FALSE;
    try {
        SaveWithWord(app, text, path);
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    QuitAfterFailure(app);
    return FALSE;
}

BOOL ProbeWord()
{
    BOOL bFound = FALSE;
    const HRESULT hr = ::CoInitialize(NULL);
    try {
        {
            WordApplication app;
            bFound = app.CreateDispatch(L"Word.Application");
            QuitWord(app);  // nothing is sent when the creation failed
        }
        if (SUCCEEDED(hr))
            ::CoUninitialize();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return bFound;
}
