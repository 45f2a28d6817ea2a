// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "app/driver.h"
#include "base/datetext.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QVariant>

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

QString DateText(const QDateTime &date, const QString &format)
{
    return date.isValid() ? date.toString(format) : QStringLiteral("invalid");
}

QVector<QStringList> ReadRows(const QString &file)
{
    const QByteArray text = ReadFileBytes(QStringLiteral(GRIDCOL_TEST_DATA "/") + file, QByteArray());
    if (text.isEmpty())
        qFatal("cannot read the table %s", qPrintable(file));
    QVector<QStringList> rows;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.isEmpty() && !line.startsWith('#'))
            rows << QString::fromUtf8(line).split(QLatin1Char('\t'));
    }
    return rows;
}

QByteArray Unescape(const QString &field)
{
    const QByteArray text = field.toUtf8();
    QByteArray bytes;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i) == '\\' && i + 1 < text.size() ? text.at(++i) : 0;
        const int named = QByteArray("nrtvf0").indexOf(c);
        if (c == 0)
            bytes += text.at(i);
        else if (named >= 0)
            bytes += QByteArray("\n\r\t\v\f\0", 6).at(named);
        else if (c == 'x' || c == 'u') {
            const int digits = c == 'x' ? 2 : 4;
            const ushort code = text.mid(i + 1, digits).toUShort(nullptr, 16);
            bytes += c == 'x' ? QByteArray(1, char(code)) : QString(QChar(code)).toUtf8();
            i += digits;
        } else
            bytes += c;
    }
    return bytes;
}

QString UnescapeText(const QString &field)
{
    const QByteArray bytes = Unescape(field);
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

namespace {

/// A field of a table as a value of the type a column of AddRows() names.
QVariant FieldValue(const QString &column, const QString &field)
{
    const QString type = column.section(QLatin1Char(':'), 1);
    if (type == QLatin1String("pieces")) {
        QList<QByteArray> pieces;
        for (const QString &piece : field.split(QLatin1Char('|'), Qt::SkipEmptyParts))
            pieces << Unescape(piece);
        return QVariant::fromValue(pieces);
    }
    if (type == QLatin1String("ints")) {
        QVector<int> ints;
        for (const QString &item : field.split(QLatin1Char(' ')))
            ints << item.toInt();
        return QVariant::fromValue(ints);
    }
    if (type.startsWith(QLatin1String("list"))) {
        QStringList items;
        for (const QString &item : field.split(type.size() > 4 ? type.at(4) : QLatin1Char('|')))
            items << UnescapeText(item);
        return items;
    }
    if (type == QLatin1String("bytes"))
        return Unescape(field);
    if (type == QLatin1String("int"))
        return field.toInt();
    if (type == QLatin1String("bool"))
        return field == QLatin1String("true");
    if (type == QLatin1String("double"))
        return field.toDouble();
    if (type == QLatin1String("char"))
        return UnescapeText(field).at(0);
    return UnescapeText(field);
}

} // namespace

void AddRows(const QString &file)
{
    static QList<QByteArray> names; // QTest keeps a column's name as a pointer
    const QVector<QStringList> rows = ReadRows(file);
    const QStringList columns = rows.value(0).mid(1);
    for (const QString &column : columns) {
        names << column.section(QLatin1Char(':'), 0, 0).toLatin1();
        QTest::addColumnInternal(FieldValue(column, QStringLiteral("x")).userType(), names.last().constData());
    }
    for (const QStringList &row : rows.mid(1)) {
        if (row.size() != columns.size() + 1)
            qFatal("%s: a row of %d fields: %s", qPrintable(file), int(row.size()), qPrintable(row.first()));
        QTestData &data = QTest::newRow(Unescape(row.first()).constData());
        for (int k = 0; k < columns.size(); ++k) {
            const QVariant value = FieldValue(columns.at(k), row.at(k + 1));
            data.append(value.userType(), value.constData());
        }
    }
}
