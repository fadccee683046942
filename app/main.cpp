#include "app/ApplicationWindows.h"
#include "app/VornaleApplication.h"

int main(int argc, char** argv)
{
    VornaleApplication app(argc, argv);
    ApplicationWindows windows;
    windows.Form1.show();
    return app.exec();
}
