// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/checkedlog.h"

#include "adif/adifdatabase.h"
#include "base/text.h"
#include "readers/adiflog.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace {

/// Logs are a few hundred kilobytes; anything larger than this is no log.
constexpr qint64 maxLogSize = 64 * 1024 * 1024;

/// QSO fields of REG1TEST, counted from 0.
constexpr int ediDate = 0;
constexpr int ediTime = 1;
constexpr int ediCall = 2;
constexpr int ediLocator = 9;
constexpr int ediQrb = 10;

QString Normalised(QStringView text)
{
    return text.toString().simplified().toUpper();
}

bool AllDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    }
    return true;
}

/// A date of six (yyMMdd, years before 80 in this century) or eight digits.
QDate ReadDate(QStringView text)
{
    const QString digits = text.toString().trimmed();
    if (!AllDigits(digits))
        return QDate();
    if (digits.size() == 8)
        return QDate::fromString(digits, QStringLiteral("yyyyMMdd"));
    if (digits.size() != 6)
        return QDate();
    const QDate date = QDate::fromString(digits, QStringLiteral("yyMMdd"));
    return date.isValid() && date.year() < 1980 ? date.addYears(100) : date;
}

/// A time of four or six digits: HHmm, HHmmss.
QTime ReadTime(QStringView text)
{
    const QString digits = text.toString().trimmed();
    if (!AllDigits(digits))
        return QTime();
    if (digits.size() == 6)
        return QTime::fromString(digits, QStringLiteral("HHmmss"));
    return digits.size() == 4 ? QTime::fromString(digits, QStringLiteral("HHmm")) : QTime();
}

bool LooksLikeEdi(const QByteArray &bytes)
{
    return bytes.left(4096).toUpper().contains("[REG1TEST") || bytes.toUpper().contains("[QSORECORDS");
}

bool LooksLikeAdif(const QByteArray &bytes)
{
    const QByteArray upper = bytes.toUpper();
    return upper.contains("<EOH>") || upper.contains("<EOR>");
}

} // namespace

void ParseEdiForCheck(const QByteArray &bytes, CheckedLog &log)
{
    log.format = QStringLiteral("EDI");
    // Whole, zero bytes and all: a log does not end at one.
    QString text = QString::fromUtf8(bytes.constData(), bytes.size());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool qsoSection = false;
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            qsoSection = trimmed.startsWith(QLatin1String("[QSORecords"), Qt::CaseInsensitive);
            continue;
        }
        if (!qsoSection) {
            const int equals = trimmed.indexOf(QLatin1Char('='));
            const QStringView key = QStringView(trimmed).left(equals);
            const QStringView value = QStringView(trimmed).mid(equals + 1);
            if (equals > 0 && key.compare(QLatin1String("PCall"), Qt::CaseInsensitive) == 0)
                log.call = Normalised(value);
            else if (equals > 0 && key.compare(QLatin1String("PWWLo"), Qt::CaseInsensitive) == 0)
                log.locator = Normalised(value);
            continue;
        }
        QStringView fields[ediQrb + 1];
        const int count = SplitView(trimmed, QLatin1Char(';'), fields, ediQrb + 1);
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        if (count <= ediLocator) {
            log.problems << where + QStringLiteral("a QSO with %1 fields, not the 10 it needs").arg(count);
            continue;
        }
        CheckedQso qso;
        qso.line = n + 1;
        qso.date = ReadDate(fields[ediDate]);
        qso.time = ReadTime(fields[ediTime]);
        qso.call = Normalised(fields[ediCall]);
        qso.locator = Normalised(fields[ediLocator]);
        if (count > ediQrb) {
            bool ok = false;
            const int qrb = ToInt(fields[ediQrb], &ok);
            qso.claimedQrb = ok && qrb >= 0 ? qrb : -1;
        }
        if (qso.call.isEmpty()) {
            log.problems << where + QStringLiteral("a QSO without a call");
            continue;
        }
        if (!qso.date.isValid())
            log.problems << where + QStringLiteral("%1: the date \"%2\" does not read").arg(qso.call, fields[ediDate]);
        log.qsos.append(qso);
    }
}

void ParseAdifForCheck(const QByteArray &bytes, CheckedLog &log)
{
    log.format = QStringLiteral("ADIF");
    AdifDataBase store;
    store.SetSignalsEnabled(false);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    store.ReadAdifFile(buffer, nullptr);
    const int call = store.FieldIndex(QStringLiteral("CALL"));
    const int locator = store.FieldIndex(QStringLiteral("GRIDSQUARE"));
    const int date = store.FieldIndex(QStringLiteral("QSO_DATE"));
    const int time = store.FieldIndex(QStringLiteral("TIME_ON"));
    const int band = store.FieldIndex(QStringLiteral("BAND"));
    const int frequency = store.FieldIndex(QStringLiteral("FREQ"));
    const int ownLocator = store.FieldIndex(QStringLiteral("MY_GRIDSQUARE"));
    const int ownCall = store.FieldIndex(QStringLiteral("STATION_CALLSIGN"));
    const int operatorCall = store.FieldIndex(QStringLiteral("OPERATOR"));
    for (int n = 0; n < store.RecordCount(); ++n) {
        const AdifRecord record = store.GetRecord(n);
        if (log.locator.isEmpty())
            log.locator = Normalised(record.ValueView(ownLocator));
        if (log.call.isEmpty())
            log.call = Normalised(record.ValueView(ownCall));
        if (log.call.isEmpty())
            log.call = Normalised(record.ValueView(operatorCall));
        if (ContactFrequency(record.ValueView(frequency), record.ValueView(band)) < 144.0) {
            ++log.otherBands;
            continue;
        }
        const QString where = QStringLiteral("record %1: ").arg(n + 1);
        CheckedQso qso;
        qso.line = n + 1;
        qso.call = Normalised(record.ValueView(call));
        qso.locator = Normalised(record.ValueView(locator));
        qso.date = ReadDate(record.ValueView(date));
        qso.time = ReadTime(record.ValueView(time));
        if (qso.call.isEmpty()) {
            log.problems << where + QStringLiteral("a QSO without a call");
            continue;
        }
        if (!qso.date.isValid())
            log.problems << where
                    + QStringLiteral("%1: the date \"%2\" does not read").arg(qso.call, record.ValueView(date));
        log.qsos.append(qso);
    }
}

bool ReadCheckedLog(const QString &path, CheckedLog &log, QString *error)
{
    log = CheckedLog();
    log.file = path;
    // Said in gridcol's own words, the same on every system.
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("no such file");
        return false;
    }
    if (info.isDir()) {
        *error = QStringLiteral("a folder, not a log");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot be read");
        return false;
    }
    if (file.size() > maxLogSize) {
        *error = QStringLiteral("larger than any log");
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot be read");
        return false;
    }
    if (LooksLikeEdi(bytes)) {
        ParseEdiForCheck(bytes, log);
    } else if (LooksLikeAdif(bytes)) {
        ParseAdifForCheck(bytes, log);
    } else {
        *error = QStringLiteral("neither an EDI nor an ADIF log");
        return false;
    }
    return true;
}
