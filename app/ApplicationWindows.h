#pragma once

#include "app/About_Unit.h"
#include "app/Error_Unit.h"
#include "app/Unit_main.h"

// The program's three windows, created in start-up order: the main window (whose creation
// resets every field), then the input-error window and the About window, both hidden. They
// live as long as this object.
class ApplicationWindows
{
public:
    ApplicationWindows();
    ApplicationWindows(const ApplicationWindows&) = delete;
    ApplicationWindows& operator=(const ApplicationWindows&) = delete;

    TForm1 Form1;
    TFrmError FrmError;
    TFrmAbout FrmAbout;
};
