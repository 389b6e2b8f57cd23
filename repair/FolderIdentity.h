// The identity of a folder: its volume and its index on that volume. Two paths that reach the
// same folder, one of them through a link or a junction, give the same identity.
#pragma once
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

struct FolderIdentity {
    DWORD dwVolumeSerial = 0;
    DWORD dwIndexHigh = 0;
    DWORD dwIndexLow = 0;

    bool operator==(const FolderIdentity& other) const
    {
        return dwVolumeSerial == other.dwVolumeSerial && dwIndexHigh == other.dwIndexHigh &&
               dwIndexLow == other.dwIndexLow;
    }
};

// The identity of the folder that path reaches, links followed; a bare drive ("D:") means its root.
// FALSE when the folder cannot be opened or the platform gives no identity for it.
BOOL GetFolderIdentity(const CString& path, FolderIdentity* pIdentity);
