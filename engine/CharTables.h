// The three character-class tables of the salvage engine and the data files that fill them.
//
// Each table holds 65,536 bytes, indexed by a UTF-16 code unit, each entry 0 or 1:
//   TextCharTable    the unit may appear in salvaged text (a text character);
//   CommonCharTable  a commonly used character (decides whether a run is accepted);
//   OtherCharTable   listed in neither data file and outside U+0001-U+007F: noise.
// They are built once at start-up and only read afterwards, by any thread.
#pragma once

#include "classlib/WinTypes.h"

extern BYTE* TextCharTable;
extern BYTE* CommonCharTable;
extern BYTE* OtherCharTable;

// Number of entries of each table: one per UTF-16 code unit.
const int CHAR_TABLE_SIZE = 0x10000;

// The character lists that ship beside the program.
extern const WCHAR TEXT_CHAR_FILE[];    // "Quillmend.dat"
extern const WCHAR COMMON_CHAR_FILE[];  // "QuillmendCY.dat"

// Makes the program's folder the current directory and builds the tables from the data files
// there. When a data file cannot be opened it shows the missing-file message (after which no
// other file is tried) and returns FALSE. Call FreeCharTables in either case.
BOOL BuildCharTables();

// The same build from the data files of the current directory, which it leaves unchanged.
BOOL BuildCharTablesFromCurrentFolder();

// Frees the three tables; safe after a failed build and when nothing was built.
void FreeCharTables();

// Mark every unit from first to last inclusive; a range with first > last marks nothing.
void SetTextCharRange(WCHAR first, WCHAR last);
void SetCommonCharRange(WCHAR first, WCHAR last);
void ClearOtherCharRange(WCHAR first, WCHAR last);

// Reads the character list named fileName (looked up in the current directory) and, for each
// member c, sets table[c] = 1 and OtherCharTable[c] = 0. FALSE when the file cannot be opened or
// read; nothing is changed then.
BOOL LoadCharList(LPCWSTR fileName, BYTE* table);

// Makes the folder of the running program the current directory (a failure is not reported: it
// shows later as a data file that cannot be opened).
void EnterProgramFolder();
