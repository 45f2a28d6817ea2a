#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include <optional>

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

/// The per-line step of the blacklist reader: the entry a decoded line names,
/// or nothing for a line holding "chat>" (any case) or fewer than three words.
std::optional<BlacklistEntry> ParseBlacklistLine(const QString &line);

/// Reads one blacklist file and appends its entries to Blacklist. A file that
/// cannot be read adds nothing and says nothing.
void ReadBlacklistFile(const QString &path);

/// True when the QSO of ownCall with workedCall on the day of date is
/// blacklisted; a hit is reported on the console and in the log, once.
/// A date before 1980 counts 100 years later, as in the database.
bool IsBlacklisted(const QString &workedCall, const QString &ownCall, const QDateTime &date);

/// IsBlacklisted() without a word on the console or in the log, for readers
/// that write those later.
bool BlacklistHolds(const QString &workedCall, const QString &ownCall, const QDateTime &date);
/// The line IsBlacklisted() writes to the console and the log.
QByteArray BlacklistedMessage(const QString &workedCall, const QString &ownCall);
