#pragma once

#include <QByteArray>
#include <QString>

// Writes a new version of a file without ever leaving a damaged one: the bytes go into a
// temporary file in the same folder, which commit() flushes to disk and renames over the
// target. Until then the target is untouched; destroying an uncommitted ReplacingFile removes
// the temporary file. Failures throw EInOutError.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(const QByteArray& bytes);
    // Flushes, closes and moves the new file into place.
    void commit();

private:
    void discard() noexcept;

    QByteArray m_target;    // native path of the file being replaced (symbolic links followed)
    QByteArray m_temporary; // native path of the new content until commit()
    int m_fd = -1;
};
