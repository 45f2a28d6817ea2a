// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/sourcefiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

namespace {

/// The files left out: their canonical paths, and the SHA-256 of their
/// bytes by their size, so that only files of a left-out size are read.
struct LeftOut
{
    QSet<QString> paths;
    QHash<qint64, QSet<QByteArray>> digests;
};

LeftOut leftOut;

QByteArray DigestOf(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result();
}

bool IsLeftOut(const QFileInfo &entry)
{
    if (leftOut.paths.isEmpty())
        return false;
    if (leftOut.paths.contains(entry.canonicalFilePath()))
        return true;
    const auto digests = leftOut.digests.constFind(entry.size());
    return digests != leftOut.digests.constEnd() && digests->contains(DigestOf(entry.absoluteFilePath()));
}

} // namespace

void LeaveOutSourceFiles(const QStringList &paths)
{
    leftOut = LeftOut();
    for (const QString &path : paths) {
        const QFileInfo info(path);
        leftOut.paths.insert(info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath());
        const QByteArray digest = DigestOf(path);
        if (!digest.isEmpty())
            leftOut.digests[info.size()].insert(digest);
    }
}

SourceFileList ListSourceFiles(const QString &directory, const QString &pattern)
{
    QDir dir(directory);
    dir.setNameFilters({ pattern });
    const QFileInfoList listed = dir.entryInfoList(QDir::Files, QDir::NoSort);
    SourceFileList files;
    files.reserve(listed.size());
    for (const QFileInfo &entry : listed) {
        if (entry.isFile() && !IsLeftOut(entry))
            files.append(SourceFile { entry.fileName(), entry.absoluteFilePath() });
    }
    return files;
}
