// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QString>
#include <QStringView>
#include <QVector>

/// Sets Qt's date handling up. Qt sets its calendars and its date parser up
/// the first time they are used, and not safely when two threads do so at
/// once: a date text read on one of them then comes out invalid now and then.
/// Called once, before the first second thread of the process starts (the
/// program's, the tests', the benchmarks' and the fuzzers' main do).
void PrepareDateHandling();

/// Parses date texts with one fixed format pattern, remembering earlier answers.
///
/// Parsing with a pattern is slow in Qt, while source files repeat the same
/// few date texts over and over; identical texts give identical date-times, so
/// each distinct text is parsed once. The memory is bounded: a file full of
/// distinct garbage cannot make it grow without limit. One for each thread.
class DateTextParser
{
public:
    explicit DateTextParser(const QString &format);

    QDateTime parse(const QString &text) { return parse(QStringView(text)); }
    QDateTime parse(QStringView text);
    QString format() const { return m_format; }

private:
    /// The text as Qt 5 reads it, for Qt 6 as well: Qt 5 takes a "+" for
    /// the first digit of a number field ("+4.05.2026" is 04.05.2026), Qt 6
    /// takes no sign there. Where the format is made of fixed-width number
    /// fields and separators, such a "+" becomes a "0"; other texts stay.
    QString withoutSigns(QStringView text) const;
    QDateTime parseText(QStringView text) const;

    QString m_format;
    /// Where the number fields of a fixed-width format begin, and how wide
    /// they are; empty for other formats.
    QVector<QPair<int, int>> m_fields;
    QHash<QString, QDateTime> m_cache;
    /// Short ASCII texts (nearly all) by their PackShortAscii number, so
    /// that looking them up needs no string.
    QHash<quint64, QDateTime> m_shortCache;
};

/// The date part of date-times as "dd.MM.yyyy", the form every output and log
/// line of gridcol's own uses, or in another Qt date format that the files of
/// other loggers want; each day is formatted once. One for each thread that
/// formats.
class DayTexts
{
public:
    explicit DayTexts(const QString &format = QStringLiteral("dd.MM.yyyy"))
        : m_format(format)
    {
    }

    QString text(const QDateTime &dateTime);

private:
    QString m_format;
    QHash<qint64, QString> m_texts;
};

/// DayTexts in the local 8-bit encoding, as the outputs write them once for
/// each locator; each date is converted once. One for each thread.
class DayBytes
{
public:
    explicit DayBytes(const QString &format = QStringLiteral("dd.MM.yyyy"))
        : m_days(format)
    {
    }

    /// The day text of date; stamp is date as milliseconds since the epoch.
    /// Valid until the next call.
    const QByteArray &text(const QDateTime &date, qint64 stamp);

private:
    struct Slot
    {
        qint64 stamp = 0;
        bool filled = false;
        QByteArray text;
    };
    static constexpr int slotCount = 4096;
    QVector<Slot> m_slots { slotCount };
    QByteArray m_other;
    DayTexts m_days;
};
