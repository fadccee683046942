#pragma once

#include <QChar>

// The user's number format: decimal and thousand separator.
// Read at the moment of use, never cached, so a change of locale takes effect at once.
// Tests install their own provider with ScopedRegionalSettings.
class RegionalSettings
{
public:
    virtual ~RegionalSettings() = default;
    virtual QChar decimalSeparator() const = 0;
    // A null QChar when the locale has no thousand separator.
    virtual QChar thousandSeparator() const = 0;
};

// Reads LC_NUMERIC of the process locale on every call.
class ProcessLocaleSettings final : public RegionalSettings
{
public:
    QChar decimalSeparator() const override;
    QChar thousandSeparator() const override;
};

// A fixed pair of separators, for tests and tools.
class FixedRegionalSettings final : public RegionalSettings
{
public:
    FixedRegionalSettings(QChar decimal, QChar thousand) : m_decimal(decimal), m_thousand(thousand) {}
    QChar decimalSeparator() const override { return m_decimal; }
    QChar thousandSeparator() const override { return m_thousand; }

private:
    QChar m_decimal;
    QChar m_thousand;
};

// The provider in force (the process locale unless a test replaced it).
const RegionalSettings& regionalSettings();

// Replaces the provider for its own lifetime; restores the previous one afterwards.
class ScopedRegionalSettings
{
public:
    explicit ScopedRegionalSettings(const RegionalSettings& settings);
    ScopedRegionalSettings(QChar decimal, QChar thousand);
    ~ScopedRegionalSettings();
    ScopedRegionalSettings(const ScopedRegionalSettings&) = delete;
    ScopedRegionalSettings& operator=(const ScopedRegionalSettings&) = delete;

private:
    FixedRegionalSettings m_fixed;
    const RegionalSettings* m_previous;
};
