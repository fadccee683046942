// The program's own start-up, ending once its main window has painted.
#include "app/ApplicationWindows.h"
#include "app/VornaleApplication.h"
#include "bench/FirstPaint.h"

int main(int argc, char** argv)
{
    VornaleApplication app(argc, argv);
    ApplicationWindows windows;
    QuitOnFirstPaint quit(&windows.Form1);
    windows.Form1.show();
    return app.exec();
}
