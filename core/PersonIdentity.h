#pragma once

#include "core/SubjectRecord.h"

#include <QString>

// Who a record is about, decided one way by every group tool (the comparison's matching, the
// entry table's clash checks, the roster, the saver): the same full name, read without case,
// with any run of blanks (tabs and no-break spaces included) as one space and none at either
// end, with "ё" read as "е" — and the same sex. Two spellings that differ only so are one person.

// The name with each run of blanks (tabs, no-break spaces, control and format characters) as one
// space and none at either end: how two spellings are written alike before case and "ё" count.
QString PersonNameWithPlainBlanks(const QString& fullName);

// The name as persons are told apart by it; empty when the name has no letters or digits.
QString PersonNameKey(const QString& fullName);

struct PersonIdentity
{
    QString nameKey;
    ::Sex sex = ::Sex::Male;

    bool isNamed() const { return !nameKey.isEmpty(); }
    friend bool operator==(const PersonIdentity&, const PersonIdentity&) = default;
};

PersonIdentity IdentityOf(const QString& fullName, Sex sex);

// One text per person, for hash keys.
QString IdentityKey(const PersonIdentity& identity);

size_t qHash(const PersonIdentity& identity, size_t seed = 0) noexcept;
