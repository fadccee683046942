#include "app/ApplicationWindows.h"

ApplicationWindows::ApplicationWindows() : Form1(), FrmError(&Form1), FrmAbout(&Form1)
{
    Form1.setAuxiliaryWindows(&FrmError, &FrmAbout);
}
