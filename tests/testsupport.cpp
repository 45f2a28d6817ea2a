#include "testsupport.h"

#include "adif/adifdatabase.h"
#include "app/clock.h"
#include "app/console.h"
#include "app/driver.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <ctime>

void PrepareTestEnvironment()
{
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
}

QDateTime TestNow()
{
    return QDateTime(QDate(2026, 6, 15), QTime(12, 0));
}

void ResetProgramState(const QDateTime &now)
{
    ResetRunState(now);
}

QStringList DumpDatabase()
{
    QStringList lines;
    for (const CallEntry &entry : CallDatabase) {
        for (const LocatorEntry &locator : entry.locators) {
            lines.append(QStringLiteral("%1 %2 %3 %4")
                             .arg(entry.call, locator.locator)
                             .arg(locator.weight)
                             .arg(locator.date.toString(QStringLiteral("dd.MM.yyyy"))));
        }
    }
    return lines;
}

QDateTime Day(const char *text)
{
    const QString value = QString::fromLatin1(text);
    if (value.size() > 10)
        return QDateTime::fromString(value, QStringLiteral("dd.MM.yyyy HH:mm"));
    return QDateTime::fromString(value, QStringLiteral("dd.MM.yyyy"));
}

void AddRecords(const QStringList &records)
{
    for (const QString &record : records) {
        const QStringList parts = record.split(QLatin1Char('|'));
        const QDateTime date = parts.at(3) == QLatin1String("-") ? QDateTime() : Day(parts.at(3).toLatin1().constData());
        AddCallLocator(parts.at(0), parts.at(1), date, parts.at(2).toInt());
    }
}

QByteArray ReadFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toUtf8() + '>';
    return file.readAll();
}

bool WriteFileBytes(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

StreamCapture::StreamCapture(Target target)
    : m_target(target)
{
    m_stream = open_memstream(&m_buffer, &m_size);
    if (m_target == Console)
        SetConsoleFile(m_stream);
    else
        DebugLog = m_stream;
}

StreamCapture::~StreamCapture()
{
    if (m_target == Console)
        SetConsoleFile(nullptr);
    else if (DebugLog == m_stream)
        DebugLog = nullptr;
    std::fclose(m_stream);
    std::free(m_buffer);
}

QByteArray StreamCapture::text()
{
    std::fflush(m_stream);
    return QByteArray(m_buffer, int(m_size));
}

bool CopyTree(const QString &from, const QString &to)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    const QFileInfoList entries
        = source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        const bool copied = entry.isDir() ? CopyTree(entry.filePath(), target)
                                          : QFile::copy(entry.filePath(), target);
        if (!copied)
            return false;
    }
    return true;
}
