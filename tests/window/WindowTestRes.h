// Resource ids of the window tests' own dialog templates.
#pragma once

#define IDD_TEST_LOOP 100
#define IDD_TEST_RADIO 101
#define IDD_TEST_PAGE 102
#define IDD_TEST_MISSING 199

#define IDC_TEST_EDIT 1001

#define IDC_RADIO_FIRST 1010
#define IDC_RADIO_PUSH 1011
#define IDC_RADIO_SECOND 1012
#define IDC_RADIO_THIRD 1013
#define IDC_RADIO_AFTER 1014
#define IDC_RADIO_MISSING 1019  // in no template

#define IDC_PAGE_BUTTON 1020
