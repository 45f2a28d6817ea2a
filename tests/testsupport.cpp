// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "app/driver.h"
#include "base/datetext.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>

#include <ctime>

void PrepareTestEnvironment()
{
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    PrepareDateHandling();
}

QDateTime TestNow()
{
    return QDateTime(QDate(2026, 6, 15), QTime(12, 0));
}

void ResetProgramState(const QDateTime &now)
{
    ResetRunState(now);
}

QDateTime Day(const char *text)
{
    const QString value = QString::fromLatin1(text);
    return QDateTime::fromString(value, value.size() > 10 ? QStringLiteral("dd.MM.yyyy HH:mm")
                                                          : QStringLiteral("dd.MM.yyyy"));
}

QByteArray ReadFileBytes(const QString &path, const QByteArray &ifUnreadable)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : ifUnreadable;
}

bool WriteFileBytes(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool CopyTree(const QString &from, const QString &to, const QStringList &skip)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    const QFileInfoList entries
        = source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (skip.contains(entry.fileName()))
            continue;
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (!entry.isDir() && QFileInfo::exists(target) && !QFile::remove(target))
            return false;
        if (!(entry.isDir() ? CopyTree(entry.filePath(), target) : QFile::copy(entry.filePath(), target)))
            return false;
    }
    return true;
}

QByteArray TakeFileText(std::FILE *file)
{
    QByteArray bytes(int(std::ftell(file)), Qt::Uninitialized);
    std::rewind(file);
    bytes.resize(int(std::fread(bytes.data(), 1, size_t(bytes.size()), file)));
    std::fclose(file);
    return bytes;
}

QByteArray TextLineEnd()
{
    return Platform::TextLineEnd();
}
