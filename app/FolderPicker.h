// The program's folder picker: the shell's folder browser with the program's own title, which it
// shows semi-bold and red.
#pragma once
#include "classlib/CFont.h"
#include "classlib/WinTypes.h"

// Characters of the title buffer, terminator included.
const int kBrowseTitleChars = 1000;

// The picker's title; the caller copies string 145 or 146 into it before each BrowseForFolder.
extern WCHAR g_szBrowseTitle[kBrowseTitleChars];
// The browse dialog's own window procedure, saved when the callback subclasses the dialog.
extern WNDPROC g_pfnOldBrowseProc;
// The title's semi-bold font: made by the first picker, kept until the process ends.
extern CFont g_fontBrowseTitle;

// Lets the user choose a folder. pszPath holds at least MAX_PATH characters; a non-empty text on
// entry is the folder selected first. Returns 1 with the chosen folder's path in pszPath (a
// drive root without its backslash, "C:"), or 2 when the user cancelled.
int BrowseForFolder(LPWSTR pszPath);
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
LRESULT CALLBACK BrowseTitleWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
