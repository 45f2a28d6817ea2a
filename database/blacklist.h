// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>


/// One contest QSO that must not feed the database.
struct BlacklistEntry
{
    QString workedCall; ///< the station worked, as written in the EDI QSO record
    QString ownCall; ///< the logging station, as written in the EDI "PCall" line
    QDateTime date; ///< the day of the QSO; its time of day plays no part
};

/// The blacklist entries in the order they were read, with an index beside
/// them: for each pair of own and worked call, the calendar days listed.
///
/// The EDI reader asks about every contact it reads, so the question must not
/// cost a walk over the whole list, and for the many contacts whose calls are
/// not listed at all it need not even work out the day. The index answers
/// exactly as that walk would: calls compare exactly, days compare as QDate
/// does, so an entry whose date did not parse (an invalid QDate) matches no
/// valid day.
class BlacklistTable
{
public:
    int size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QVector<BlacklistEntry> &entries() const { return m_entries; }

    void append(const BlacklistEntry &entry);
    /// True when some entry names these two calls, on whatever day.
    bool listsCalls(const QString &ownCall, const QString &workedCall) const;
    /// True when some entry names these two calls and its date falls on this day.
    bool contains(const QString &ownCall, const QString &workedCall, const QDate &day) const;
    void clear();

    struct CallPair
    {
        QString ownCall;
        QString workedCall;
        bool operator==(const CallPair &other) const
        {
            return ownCall == other.ownCall && workedCall == other.workedCall;
        }
    };

private:
    QVector<BlacklistEntry> m_entries;
    /// QDate's own values (toJulianDay()), an invalid date's included.
    QHash<CallPair, QSet<qint64>> m_days;
};

uint qHash(const BlacklistTable::CallPair &pair, uint seed = 0);

/// The process-wide blacklist, filled from the "*.blacklist" files of the
/// directories visited so far.
extern BlacklistTable Blacklist;

/// True when the table lists the QSO of ownCall with workedCall on the day of
/// date. A date before 1980 counts 100 years later, as in the database.
bool IsBlacklisted(const BlacklistTable &table, const QString &workedCall, const QString &ownCall,
                   const QDateTime &date);

/// The line a reader writes to the console and the log for a blacklisted QSO.
QByteArray BlacklistedMessage(const QString &workedCall, const QString &ownCall);
