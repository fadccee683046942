#pragma once

#include "records/RecordFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace recordtest {

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The names in a folder, hidden ones included: a save must leave no temporary file behind.
inline QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

using Slots = std::vector<std::pair<int, QString>>;

inline ReadOutcome readSlots(const QString& path, Slots& handedOver)
{
    RecordFileReader reader(path);
    return reader.read([&](int slot, const QString& text) { handedOver.emplace_back(slot, text); });
}

// Captures an EInOutError thrown by `operation`; errorCode -1 when nothing was thrown.
template <typename Operation>
std::pair<int, QString> ioFailureOf(Operation&& operation)
{
    try {
        operation();
    } catch (const EInOutError& failure) {
        return {failure.errorCode(), failure.message()};
    }
    return {-1, QString()};
}

} // namespace recordtest
