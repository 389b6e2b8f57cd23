#pragma once
#include "classlib/CWinApp.h"

// The application object. Start-up builds the character tables from the two character lists
// beside the program, which reports a missing list, and then ends.
class CQuillmendApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
