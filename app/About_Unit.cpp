#include "app/About_Unit.h"

#include "app/TransparentPicture.h"

#include <QIcon>

TFrmAbout::TFrmAbout(QWidget* owner) : FixedModalWindow(owner)
{
    ui.setupUi(this);
    ui.Image1->setPixmap(LoadTransparentPicture(QStringLiteral(":/assets/about.png")));
    ui.BitBtn1->setIcon(QIcon(LoadTransparentPicture(QStringLiteral(":/assets/tick.png"))));
    setInitialFocus(ui.BitBtn1);
}
