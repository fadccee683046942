#include "reports/NamesFreeExport.h"

#include "records/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <numeric>
#include <random>

#include <sys/stat.h>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

PersonCodes::PersonCodes(std::size_t count) : m_numbers(count)
{
    std::iota(m_numbers.begin(), m_numbers.end(), std::size_t(0));
    std::shuffle(m_numbers.begin(), m_numbers.end(), *QRandomGenerator::system());
}

QString PersonCodes::code(std::size_t person) const
{
    return PersonCodeText(m_numbers[person], m_numbers.size());
}

QString PersonCodeText(std::size_t number, std::size_t count)
{
    const int width = std::max(4, int(QString::number(count).size()));
    return QStringLiteral("Л%1").arg(number + 1, width, 10, QLatin1Char('0'));
}

QString NamesFreeStageLabel(std::size_t place)
{
    return QStringLiteral("Этап %1").arg(place);
}

QString WriteCodeKey(QIODevice& out, const PersonCodes& codes, const std::function<QString(std::size_t person)>& nameOf)
{
    std::vector<std::size_t> byNumber(codes.size());
    for (std::size_t person = 0; person < codes.size(); ++person)
        byNumber[codes.number(person)] = person;
    QByteArray text("\xEF\xBB\xBF");
    text += QStringLiteral("Код;ФИО\r\n").toUtf8();
    for (std::size_t person : byNumber)
        text += (codes.code(person) + u';' + nameOf(person).simplified().remove(u';') + QStringLiteral("\r\n")).toUtf8();
    return out.write(text) == text.size() ? QString() : out.errorString();
}

QString WriteCodeKey(const QString& path, const PersonCodes& codes,
                     const std::function<QString(std::size_t person)>& nameOf)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // Narrowed before the first byte, so the names are never readable by others.
    if (!file.setPermissions(kOwnerOnly)) {
        file.cancelWriting();
        return QStringLiteral("не удалось закрыть файл от других");
    }
    QString reason = WriteCodeKey(file, codes, nameOf);
    if (reason.isEmpty() && file.commit())
        return {};
    if (reason.isEmpty())
        reason = file.errorString();
    file.cancelWriting();
    return reason;
}

void KeepPrivate(const QString& path)
{
    if (QFileInfo(path).isFile())
        QFile::setPermissions(path, kOwnerOnly);
}

QString ExportLogFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/exports");
}

QString ExportLogPath(const QString& folder)
{
    return folder + QStringLiteral("/export-log.tsv");
}

QString RecordExport(const ExportRecord& record, const QString& folder)
{
    if (!KeepOwnFolderPrivate(folder))
        return QStringLiteral("не удалось создать папку журнала или закрыть её от других");
    QFile log(ExportLogPath(folder));
    if (!log.open(QIODevice::Append | QIODevice::WriteOnly))
        return log.errorString();
    if (!log.setPermissions(kOwnerOnly))
        return QStringLiteral("не удалось закрыть журнал от других");
    const QString line = QStringLiteral("%1\t%2\t%3\t%4\n")
                             .arg(record.when.toString(Qt::ISODate),
                                  QString(record.what).replace(u'\t', u' ').replace(u'\n', u' '),
                                  record.coded ? QStringLiteral("коды") : QStringLiteral("имена"),
                                  QString::number(record.persons));
    const QByteArray bytes = line.toUtf8();
    return log.write(bytes) == bytes.size() && log.flush() ? QString() : log.errorString();
}
