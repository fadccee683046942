#include "app/Error_Unit.h"

#include "app/TransparentPicture.h"

#include <QFont>
#include <QIcon>

TFrmError::TFrmError(QWidget* owner) : FixedModalWindow(owner)
{
    ui.setupUi(this);
    // A .ui file holds whole point sizes only; the message font is 13 pixels high.
    QFont messageFont = ui.GradientLabel2->font();
    messageFont.setPixelSize(13);
    ui.GradientLabel2->setFont(messageFont);
    ui.Image1->setPixmap(LoadTransparentPicture(QStringLiteral(":/assets/error.png")));
    ui.BitBtn1->setIcon(QIcon(LoadTransparentPicture(QStringLiteral(":/assets/tick.png"))));
    setInitialFocus(ui.BitBtn1);
}

QString TFrmError::heading() const
{
    return ui.GradientLabel1->text();
}

void TFrmError::setHeading(const QString& heading)
{
    ui.GradientLabel1->setText(heading);
}

QString TFrmError::message() const
{
    return ui.GradientLabel2->text();
}

void TFrmError::setMessage(const QString& message)
{
    ui.GradientLabel2->setText(message);
}
