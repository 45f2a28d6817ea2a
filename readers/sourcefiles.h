#pragma once

#include <QFileInfoList>
#include <QString>

/// The regular files of a source directory whose names match a wildcard
/// pattern without regard to case, hidden files left out.
///
/// The listing is QDir's own, entryInfoList(QDir::Files, QDir::NoSort) on a
/// QDir with its default sorting, which orders by name ignoring case. That
/// makes two runs on two machines read the same files in the same order,
/// where the file system's own order would not.
QFileInfoList ListSourceFiles(const QString &directory, const QString &pattern);
