#include "reports/HeaderCaption.h"

#include <QStringList>

QString WrapCaption(const QString& caption, int lineChars)
{
    QStringList lines;
    QString line;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > lineChars) {
            lines << line;
            line.clear();
        }
        line += line.isEmpty() ? word : u' ' + word;
        if (word.endsWith(u',')) {
            lines << line;
            line.clear();
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(u'\n');
}
