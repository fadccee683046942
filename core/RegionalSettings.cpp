#include "core/RegionalSettings.h"

#include <QString>
#include <clocale>

namespace {

// localeconv() hands out multibyte strings in the locale's own charset.
QChar firstCharOf(const char* text)
{
    if (text == nullptr || *text == '\0')
        return QChar();
    const QString decoded = QString::fromLocal8Bit(text);
    return decoded.isEmpty() ? QChar() : decoded.front();
}

const RegionalSettings* g_current = nullptr;

} // namespace

QChar ProcessLocaleSettings::decimalSeparator() const
{
    const QChar separator = firstCharOf(std::localeconv()->decimal_point);
    return separator.isNull() ? QChar(u'.') : separator;
}

QChar ProcessLocaleSettings::thousandSeparator() const
{
    return firstCharOf(std::localeconv()->thousands_sep);
}

const RegionalSettings& regionalSettings()
{
    static const ProcessLocaleSettings processLocale;
    return g_current != nullptr ? *g_current : processLocale;
}

ScopedRegionalSettings::ScopedRegionalSettings(const RegionalSettings& settings)
    : m_fixed(QChar(), QChar()), m_previous(g_current)
{
    g_current = &settings;
}

ScopedRegionalSettings::ScopedRegionalSettings(QChar decimal, QChar thousand)
    : m_fixed(decimal, thousand), m_previous(g_current)
{
    g_current = &m_fixed;
}

ScopedRegionalSettings::~ScopedRegionalSettings()
{
    g_current = m_previous;
}
