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

// Dialog templates
#define IDD_ABOUTBOX            100  // About box
#define IDD_QUILLMEND_DIALOG    102  // the main wizard
#define IDD_STEP1               133  // page 1: the source kind
#define IDD_STEP2               134  // page 2: tree, preview, save mode
#define IDD_STEP3               135  // page 3: busy bar, log, Stop

// Icons and bitmaps
#define IDR_MAINFRAME           128  // the application icon
#define IDB_BACKGROUND          130  // the wizard's background picture, 69 x 23, 24 bits
#define IDI_FOLDER_CLOSED       1038 // tree: closed folder
#define IDI_FOLDER_OPEN         1039 // tree: open folder
#define IDI_DOCUMENT            1040 // tree: document

// System menu
#define IDM_ABOUTBOX            0x0010  // the About item's command

// Controls of the main wizard (template 102)
#define IDC_NEXT                1004
#define IDC_BACK                1005
#define IDC_PAGE_FRAME          1027

// Controls of page 1 (template 133)
#define IDC_MODE_TREE           1028  // radio: a folder with all its subfolders (first of the group)
#define IDC_MODE_FOLDER         1029  // radio: a folder alone
#define IDC_MODE_FILE           1030  // radio: one document
#define IDC_DESCRIPTION         1033
#define IDC_LINK_WEB            1034
#define IDC_LINK_MAIL           1035
#define IDC_CONTACT_PHONE       1036
#define IDC_CONTACT_MESSAGING   1037

// Controls of page 2 (template 134)
#define IDC_PREVIEW             1000  // the text view (an edit placeholder in the template)
#define IDC_STOP_PREVIEW        1003
#define IDC_SAVE_NEW_FOLDER     1028  // radio: into another folder (first of the group)
#define IDC_SOURCE_TREE         1029
#define IDC_SPLITTER_BAR        1030  // the splitter bar (a button placeholder in the template)
#define IDC_SAVE_BESIDE         1031  // radio: beside each source file
#define IDC_FILE_COUNT          1032

// A static control that the code never addresses
#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Controls of page 3 (template 135)
#define IDC_LOG                 1000
#define IDC_STOP                1003
#define IDC_BUSY_BAR            1004
