#include "records/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

bool MakePrivateFolders(const QString& folder)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent == absolute || !MakePrivateFolders(parent))
        return false;
    return (::mkdir(QFile::encodeName(absolute).constData(), 0700) == 0 || errno == EEXIST) && QFileInfo(absolute).isDir();
}

bool KeepOwnFolderPrivate(const QString& folder)
{
    return MakePrivateFolders(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}
