// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

/// A source file as the readers take it: its name for messages and its
/// absolute path for opening, as plain strings that any thread may read.
struct SourceFile
{
    QString name;
    QString path;
};

using SourceFileList = QVector<SourceFile>;

/// The regular files of a source directory whose names match a wildcard
/// pattern without regard to case, hidden files left out.
///
/// The listing is QDir's own, entryInfoList(QDir::Files, QDir::NoSort) on a
/// QDir with its default sorting, which orders by name ignoring case. That
/// makes two runs on two machines read the same files in the same order,
/// where the file system's own order would not.
SourceFileList ListSourceFiles(const QString &directory, const QString &pattern);

/// Files the readers pass over as if they were not there: the logs a check
/// looks at, which are no evidence for themselves. A file is left out when it
/// is one of paths, or holds the same bytes as one of them (the copy one
/// keeps in the archive). Set on the main thread before the directories are
/// read; empty for a run.
void LeaveOutSourceFiles(const QStringList &paths);
