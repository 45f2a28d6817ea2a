#pragma once

#include <QDate>
#include <QDateTime>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>

/// Sets Qt's date handling up on this thread. Qt sets its calendars and its
/// date parser up the first time they are used, and not safely when two
/// threads do so at once: a date text read on one of them then comes out
/// invalid now and then. Called before a second thread starts, so that every
/// thread finds them set up; costs nothing after the first call.
void PrepareDateHandling();

/// Parses date texts with one fixed format pattern, remembering earlier answers.
///
/// Parsing with a pattern is slow in Qt, while source files repeat the same
/// few date texts over and over; identical texts give identical date-times, so
/// each distinct text is parsed once. The memory is bounded: a file full of
/// distinct garbage cannot make it grow without limit.
class DateTextParser
{
public:
    explicit DateTextParser(const QString &format);

    QDateTime parse(const QString &text) { return parse(QStringView(text)); }
    QDateTime parse(QStringView text);
    QString format() const { return m_format; }

private:
    QString m_format;
    QHash<QString, QDateTime> m_cache;
    /// Short ASCII texts (nearly all) by their PackShortAscii number, so
    /// that looking them up needs no string.
    QHash<quint64, QDateTime> m_shortCache;
};

/// The date part of a date-time as "dd.MM.yyyy", the form every output and log
/// line uses; each day is formatted once.
QString DayText(const QDateTime &dateTime);

/// DayText's memory of formatted days, one for each thread that formats.
class DayTexts
{
public:
    QString text(const QDateTime &dateTime);

private:
    QHash<qint64, QString> m_texts;
};

/// DayText() in the local 8-bit encoding, as the outputs write it once for
/// each locator; each date is converted once. One for each thread.
class DayBytes
{
public:
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

/// A record's date as the database takes it (RepairCentury), with what
/// merging and logging need of it.
struct DatabaseDate
{
    QDateTime date;
    /// The date as milliseconds since the epoch. Dates are compared by it:
    /// comparing two local date-times of different seasons converts both
    /// through the time zone every time.
    qint64 stamp = 0;
    QString day; ///< DayText(date)
};

/// Works out the DatabaseDate of each distinct date once; one for each
/// thread. Records repeat the same few thousand days, so nearly every answer
/// comes from memory, and the memory is bounded.
class DatabaseDates
{
public:
    /// Valid until the next call.
    const DatabaseDate &of(const QDateTime &given);

private:
    QHash<qint64, DatabaseDate> m_dates; ///< local dates by their local moment
    DatabaseDate m_other; ///< the last answer for an invalid or non-local date
    DayTexts m_days;
};
