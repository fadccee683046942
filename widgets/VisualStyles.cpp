#include "widgets/VisualStyles.h"

#include <QApplication>
#include <QStyle>

bool VisualStylesActive()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return true;
    return QApplication::style()->name().compare(QStringLiteral("windows"), Qt::CaseInsensitive) != 0;
}
