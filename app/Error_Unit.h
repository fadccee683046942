#pragma once

#include "app/FixedModalWindow.h"
#include "ui_Error_Unit.h"

// The input-error window: a heading and a message under a red picture, closed with OK. The
// command that shows it sets both texts first; the window never changes them itself.
class TFrmError : public FixedModalWindow
{
    Q_OBJECT

public:
    explicit TFrmError(QWidget* owner = nullptr);

    QString heading() const;
    void setHeading(const QString& heading);
    QString message() const;
    void setMessage(const QString& message);

private:
    Ui::TFrmError ui;
};
