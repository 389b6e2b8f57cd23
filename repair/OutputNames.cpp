#include "repair/OutputNames.h"

#include "repair/PathHelpers.h"

namespace {
// The source's extension, ".doc", and the text writer's ".txt" are four characters each.
const int kExtensionLength = 4;
const int kRenameRange = 1000;

CString Stem(const CString& name) { return name.Left(name.GetLength() - kExtensionLength); }
}  // namespace

CString JoinPath(const CString& dir, const CString& name)
{
    CString path;
    path.Format(L"%s\\%s", dir, name);
    return path;
}

CString DocumentOutputPath(const CString& dir, const CString& name, BOOL bSaveInPlace)
{
    if (!bSaveInPlace)
        return JoinPath(dir, name);
    CString path;
    path.Format(L"%s\\%s_[Quillmend].doc", dir, Stem(name));
    return path;
}

CString RenamedOutputPath(const CString& dir, const CString& name, int k)
{
    CString path;
    path.Format(L"%s\\%s_[QuillmendRename_%d].doc", dir, Stem(name), k);
    return path;
}

int RenameNumber() { return static_cast<int>(::GetTickCount() % kRenameRange); }

CString TextFileName(const CString& path)
{
    CString tail = path.Right(kExtensionLength);
    tail.MakeLower();
    if (tail == CString(L".txt"))
        return path;
    CString text;
    text.Format(L"%s.txt", Stem(path));
    return text;
}

BOOL IsOutputTaken(const CString& path)
{
    return IsFile(path) || IsFile(TextFileName(path));
}
