#include "readers/sourcefiles.h"

#include <QDir>

QFileInfoList ListSourceFiles(const QString &directory, const QString &pattern)
{
    QDir dir(QStringLiteral("./data"));
    dir.setPath(directory);
    dir.setNameFilters({ pattern });
    const QFileInfoList listed = dir.entryInfoList(QDir::Files, QDir::NoSort);
    QFileInfoList files;
    files.reserve(listed.size());
    for (const QFileInfo &entry : listed) {
        if (entry.isFile())
            files.append(entry);
    }
    return files;
}
