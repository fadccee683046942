#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class QIODevice;

// Where an export goes, decided by what its path names: "-" is standard output; a character
// device or a pipe (/dev/null, /dev/stdout in a pipe) is written into as it is and never replaced;
// a regular file, or a name not taken yet, is replaced atomically by a complete new file; anything
// else (a folder, a socket, a block device) is refused. Nothing shows at the destination before
// place(): a device or a pipe gets its bytes then, a file its new version.
class ExportFile
{
public:
    explicit ExportFile(const QString& path);
    // An export never placed leaves nothing behind.
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Empty while all is well, else why the export cannot be written.
    QString error() const;
    // Where the export's bytes go.
    QIODevice& device();
    // Hands on what the device still holds, so that every write failure shows before anything is placed.
    bool finish();
    // True for a device, a pipe or standard output, which take the bytes as they are.
    bool isWrittenInto() const;
    // The new file flushed and renamed over the old one, or the bytes written into the device.
    bool place();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Writes one export's bytes into `device`; returns an empty text, or why it failed.
using ExportWriter = std::function<QString(QIODevice& device)>;

// Writes ready bytes (a JSON text, say) into `device`; an empty text, or why it failed.
QString WriteBytes(QIODevice& device, const QByteArray& bytes);

struct Export
{
    QString path;
    ExportWriter write;
};

// The outputs of one run appear together or not at all: every export is written in full first,
// and only then are all of them placed (devices and pipes first, then the files). Nothing is
// placed when one fails or once `cancel` is set. Returns one text per export: empty for those
// placed, else why not; all were placed only when every text is empty.
QStringList WriteExportsTogether(const QList<Export>& exports, const std::atomic<bool>* cancel = nullptr);
// One export: an empty text when it is placed, else why it is not.
QString WriteExport(const QString& path, const ExportWriter& write);

// True when `path` is "-" or names the file, device or pipe that standard output already is.
bool NamesStandardOutput(const QString& path);

// The reason a writer gives when it was cancelled.
QString CancelledReason();
