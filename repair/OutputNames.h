// Where the repair run puts its results: the output names of folders and documents, the rename
// form for a name already taken, and the ".txt" name of the text writer.
#pragma once
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// dir\name: a mirrored folder, or a document's output in new-folder mode.
CString JoinPath(const CString& dir, const CString& name);
// A document's output: dir\name in new-folder mode, dir\stem_[Quillmend].doc beside the source
// (stem: the name less its last four characters, its ".doc").
CString DocumentOutputPath(const CString& dir, const CString& name, BOOL bSaveInPlace);
// dir\stem_[QuillmendRename_k].doc, for an output name that is taken; k from 0 to 999.
CString RenamedOutputPath(const CString& dir, const CString& name, int k);
// The k of the rename form: the tick count modulo 1000.
int RenameNumber();
// The text writer's name: the path less its last four characters, then ".txt", unless those
// four already read ".txt" in any letter case.
CString TextFileName(const CString& path);
// TRUE when a file stands at path itself or at its ".txt" name: whether or not Word is there, a
// name is taken when an earlier result holds either of the names a save may write.
BOOL IsOutputTaken(const CString& path);
