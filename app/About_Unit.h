#pragma once

#include "app/FixedModalWindow.h"
#include "ui_About_Unit.h"

// The About window: what the program is for and how to reach its makers. Its contents never change.
class TFrmAbout : public FixedModalWindow
{
    Q_OBJECT

public:
    explicit TFrmAbout(QWidget* owner = nullptr);

private:
    Ui::TFrmAbout ui;
};
