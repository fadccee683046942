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

    // For many files at once, where one flush per file would dominate: finish() closes the new file
    // without waiting for the disk; once SyncFileSystemOf() has made all of them durable,
    // moveIntoPlace() renames each, and SyncFolderOf() makes the renames durable together.
    void finish();
    void moveIntoPlace();

private:
    void discard() noexcept;

    QByteArray m_target;    // native path of the file being replaced (symbolic links followed)
    QByteArray m_temporary; // native path of the new content until commit()
    int m_fd = -1;
};

// True for the name (no folder) of a temporary file this class writes beside its target,
// ".NAME.XXXXXXXX.tmp". A save cut off before its rename can leave one behind complete; readers
// of a folder skip such names, so a leftover is never taken for a record.
bool IsReplacementTemporaryName(const QString& fileName);

// Waits until everything written to the file system holding `path` is on disk. Throws EInOutError.
void SyncFileSystemOf(const QString& path);
// Makes the renames in the folder holding the file `path` durable; a failure changes nothing and is ignored.
void SyncFolderOf(const QString& path);
