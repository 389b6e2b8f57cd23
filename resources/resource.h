// Resource identifiers of Quillmend, grouped by kind. Included by Quillmend.rc and the C++ code.
// Identifiers of different kinds may share a number (string 133 and dialog 133 are unrelated).
#pragma once

// String table
#define IDS_ABOUTBOX            101  // About item of the system menu
#define IDS_LOADING             120  // text view's loading banner
#define IDS_DATA_FILE_MISSING   124  // a character-list data file is missing at start
#define IDS_RESTART             129  // Next button after a repair run
#define IDS_NEXT                130  // Next button
#define IDS_MKDIR_FAILED        131  // log: creating an output folder failed     (%s folder)
#define IDS_MKDIR_DONE          132  // log: an output folder was created         (%s folder)
#define IDS_FILE_EXISTS         133  // log: the output file already exists       (%s file)
#define IDS_SAVE_DONE           135  // log: a salvaged file was saved            (%s source, %s output)
#define IDS_SAME_FOLDER         136  // the output folder is the source folder
#define IDS_NOTHING_SALVAGED    137  // log: nothing salvaged from a file         (%s file)
#define IDS_SAVE_FAILED         138  // log: saving failed                        (%s file, %s reason)
#define IDS_LISTING_FOLDER      139  // text view hint while a folder is listed   (%s folder)
#define IDS_FILE_COUNT          140  // file count after the listing              (%d count)
#define IDS_NO_DOCUMENT         141  // the chosen source holds no document
#define IDS_CONFIRM_EXIT        142  // exit confirmation
#define IDS_REPAIRING           143  // busy-bar status: salvaging                (%s file)
#define IDS_SAVING              144  // busy-bar status: saving                   (%s file)
#define IDS_PICK_SOURCE         145  // folder picker title: source folder
#define IDS_PICK_OUTPUT         146  // folder picker title: output folder

// Cursors
#define IDC_SPLITTER            136  // splitter bar: two vertical lines, arrows left and right
