#pragma once

#include <QByteArray>
#include <QString>

// Writes a new version of a file without ever leaving a damaged one, nor anything a folder's reader
// could take for one. The bytes go into an unnamed file in the target's folder (O_TMPFILE), which
// commit() flushes to disk and then gives a name: the target's own when there is none yet, else a
// hidden temporary name that is at once renamed over the target. Where the file system has no
// unnamed files, the bytes go into the hidden temporary from the start. Until the rename the
// target is untouched; destroying an uncommitted ReplacingFile removes what it made. New files
// are private (0600); a replacement keeps the mode of the file it replaces. Failures throw EInOutError.
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

    // For many files at once, where one flush per file would dominate: finish() ends the writing
    // without waiting for the disk; once SyncFileSystemOf() has made all of them durable,
    // moveIntoPlace() puts each in place, and SyncFolderOf() makes the renames durable together.
    // An unnamed file stays open from finish() to moveIntoPlace(): see ReplacingFilesOpenAtOnce().
    void finish();
    void moveIntoPlace();

private:
    void linkUnnamed();
    QByteArray temporaryName() const;
    void discard() noexcept;

    QByteArray m_target;    // native path of the file being replaced (symbolic links followed)
    QByteArray m_temporary; // native path of the new content while it has a temporary name
    int m_fd = -1;
    bool m_unnamed = false; // m_fd is an O_TMPFILE file that has no name yet
};

// How many finished ReplacingFiles a batch may hold before moving them into place, so that their
// open unnamed files stay well inside the process's limit of open files.
int ReplacingFilesOpenAtOnce();

// True for the name (no folder) of a temporary file this class names beside its target,
// ".NAME.XXXXXXXX.tmp". A save cut off before its rename can leave one behind complete; readers
// of a folder skip such names, so a leftover is never taken for a record.
bool IsReplacementTemporaryName(const QString& fileName);

// Waits until everything written to the file system holding `path` is on disk. Throws EInOutError.
void SyncFileSystemOf(const QString& path);
// Makes the renames in the folder holding the file `path` durable; a failure changes nothing and is ignored.
void SyncFolderOf(const QString& path);

// For tests that cut a save off between its steps: `hook` runs after each step of every
// ReplacingFile (null: none). `allowed` false makes saves use named temporaries, as on a file
// system without unnamed files.
enum class ReplacingStep { Written, Finished, Named, Renamed };
void SetReplacingStepHook(void (*hook)(ReplacingStep));
void SetUnnamedTemporariesAllowed(bool allowed);
