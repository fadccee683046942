#pragma once

#include <QApplication>
#include <QTest>

// Keys as the user presses them, to whichever widget has the focus.
namespace testkeys {

inline QWidget* Target() { return QApplication::focusWidget(); }

// Any character, Cyrillic too, as a keyboard would send it.
inline void Type(const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, Target(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// The editor commits Enter through a queued call, so the events are let through.
inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(Target(), key, modifiers);
    QCoreApplication::processEvents();
}

} // namespace testkeys
