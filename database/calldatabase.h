// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/text.h"
#include "database/databasedates.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVector>

#include <cstdio>

/// One locator a call has been heard from.
struct LocatorEntry
{
    QString locator; ///< upper case, simplified
    QDateTime date; ///< the latest date given for this call and locator
    qint64 stamp = 0; ///< date as milliseconds since the epoch, by which dates are compared
    int weight = 0; ///< the sum of all weights given for this call and locator
    /// The locator as a number when it is short ASCII (see PackShortAscii),
    /// else 0: locators are compared by it without fetching their text.
    quint64 packed = 0;
};

/// One callsign with its locators, in the order they were first added; never empty.
struct CallEntry
{
    QString call; ///< upper case, simplified
    QVector<LocatorEntry> locators;
};

/// The list of calls, with an index from call to position beside it, so that
/// finding a call costs constant time however large the database grows. The
/// list keeps first-added order until the output phase sorts it by call.
class CallList
{
public:
    using const_iterator = QVector<CallEntry>::const_iterator;

    int size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const CallEntry &at(int i) const { return m_entries.at(i); }
    const QVector<CallEntry> &entries() const { return m_entries; }
    const_iterator begin() const { return m_entries.cbegin(); }
    const_iterator end() const { return m_entries.cend(); }

    /// Position of the entry with exactly this call, or -1.
    int indexOf(QStringView call) const { return find(call, KeyOf(call)); }
    /// The locators of one entry, for merging into them; the call itself stays.
    QVector<LocatorEntry> &locatorsAt(int i) { return m_entries[i].locators; }
    /// Brings the list into the call order for good: by the text of the
    /// call, UTF-16 code unit by code unit. Nothing happens when it is in
    /// that order already.
    void sortByCall();
    /// PackShortAscii() of every call in list order once sortByCall() has
    /// sorted it, taken from the index; empty once the list has changed since.
    const QVector<quint64> &packedCalls() const { return m_packedCalls; }
    void clear();

    // The index itself, for the database's own merging.

    /// What the index knows of a call: a short ASCII call (nearly all are)
    /// packed whole into a number, so that most lookups compare numbers in
    /// the slot instead of fetching the entry and its text; and a hash.
    struct Key
    {
        quint64 packed = 0; ///< 0: the call is not short ASCII
        uint hash = 0;
    };
    static Key KeyOf(QStringView call);

    int find(QStringView call, Key key) const;
    /// Appends an entry whose call (of that key) is not in the list yet.
    void append(const CallEntry &entry, Key key);

    // Merging many records waits mostly for memory: the slot of a call, its
    // entry and its locators lie far apart. These ask the processor to fetch
    // them ahead of time, each once the one before is at hand.
    void prefetchSlot(Key key) const
    {
        if (!m_slots.isEmpty())
            __builtin_prefetch(m_slots.constData() + (key.hash & uint(m_slots.size() - 1)));
    }
    void prefetchEntry(int i) const { __builtin_prefetch(m_entries.constData() + i); }
    void prefetchLocators(int i) const { PrefetchData(m_entries.at(i).locators); }
    /// The same for the text of an entry's call.
    void prefetchCall(int i) const { __builtin_prefetch(DataBlockOf(m_entries.at(i).call)); }

private:
    struct Slot
    {
        quint64 packed;
        uint hash;
        int position; ///< position + 1 of the entry; 0 for a free slot
    };

    void insertIntoIndex(int position, Key key);
    void rebuildIndex(int slotCount);

    QVector<CallEntry> m_entries;
    bool m_sorted = false;
    QVector<quint64> m_packedCalls;
    /// Open addressing; the slot count is a power of two, at most half of them taken.
    QVector<Slot> m_slots;
};

/// The process-wide call/locator database that every reader feeds and every writer reads.
extern CallList CallDatabase;

/// The one way records enter the database: normalises call and locator
/// (upper case, simplified), moves two-digit-year dates before 1980 into this
/// century, drops records older than four years and merges the rest, adding
/// up the weights of a call and locator and keeping their latest date. Each
/// record gets a log line "call locator day", and "QSO too old" after it when
/// it is dropped.
///
/// A RecordAdder serves the reader of one thread: it takes records into the
/// database it is given, writes its log lines to the log it is given, and
/// keeps its own memory of dates and the age limit of the moment it was made.
class RecordAdder
{
public:
    /// log may be null: then no log lines. now is the run's moment.
    RecordAdder(CallList &database, FILE *log, const QDateTime &now);

    void add(QStringView call, QStringView locator, const QDateTime &date, int weight);

private:
    CallList &m_database;
    FILE *const m_log;
    const qint64 m_ageLimit;
    DatabaseDates m_dates;
    QByteArray m_line;
};

/// One record into CallDatabase, as a RecordAdder of the debug log and the
/// run's "now" takes it.
void AddCallLocator(QStringView call, QStringView locator, const QDateTime &date, int weight);

/// A record made ready for the database off the thread that owns it:
/// normalised, its date moved into this century where needed, judged against
/// the age limit, its log line written. Making one touches nothing shared;
/// MergeRecord() then takes it in as RecordAdder would.
struct PreparedRecord
{
    QString call;
    QString locator;
    QDateTime date;
    qint64 stamp = 0; ///< date as milliseconds since the epoch
    int weight = 0;
    bool tooOld = false;
};

/// The record, with the log text RecordAdder would write appended to log
/// when log is not null. ageLimit is AgeLimitStamp() of the run's moment;
/// dates is the calling thread's own.
PreparedRecord PrepareRecord(const QString &call, const QString &locator, const QDateTime &date, int weight,
                             qint64 ageLimit, DatabaseDates &dates, QByteArray *log);

/// Takes a prepared record into the database (its log text is the caller's to write).
void MergeRecord(CallList &database, const PreparedRecord &record);
/// Takes prepared records into the database in their order, as MergeRecord()
/// one after another would.
void MergeRecords(CallList &database, const QVector<PreparedRecord> &records);

/// The most calls PrefetchMerges() looks at.
constexpr int prefetchBlock = 32;
/// Asks the processor to fetch what merging records of these calls (as
/// written, at most prefetchBlock of them) will read: the slots of the calls,
/// then their entries, then their locators. Changes nothing; a call written
/// otherwise than it is stored is only not fetched.
void PrefetchMerges(const CallList &database, const QStringView *calls, int count);

/// Index in CallDatabase of the entry with exactly this call, or -1.
int FindCall(QStringView call);

/// Index in the entry's locators of the first with exactly this locator, or
/// -1; packed is the locator's PackShortAscii().
int FindLocator(const CallEntry &entry, QStringView locator, quint64 packed);
