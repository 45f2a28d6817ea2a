#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>

#include <cstring>

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
    /// Appends an entry whose call is not in the list yet.
    void append(const CallEntry &entry);
    /// The locators of one entry, for merging into them; the call itself stays.
    QVector<LocatorEntry> &locatorsAt(int i)
    {
        m_ranked.clear();
        return m_entries[i].locators;
    }
    /// The locators of entry i in the locator order (RankedLocators), worked
    /// out once for all outputs until the list changes.
    const QVector<LocatorEntry> &rankedAt(int i) const;
    /// Brings the list into the call order for good; nothing happens when it
    /// is in that order already, so that the outputs, built side by side, may
    /// all ask for it.
    void sortByCall();
    /// Works out rankedAt() of every entry at once, so that threads may then read it.
    void rankAll() const;
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
    void prefetchLocators(int i) const
    {
        // A vector is one pointer to a block that holds its header and then
        // its items. Asking the vector for its items would read the header,
        // which is what is to be fetched; the pointer itself is at hand.
        static_assert(sizeof(QVector<LocatorEntry>) == sizeof(void *), "a vector is one pointer");
        const char *block;
        std::memcpy(&block, &m_entries.at(i).locators, sizeof block);
        __builtin_prefetch(block);
        __builtin_prefetch(block + 64);
    }

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
    /// rankedAt() of every entry, by position; empty until asked for.
    mutable QVector<QVector<LocatorEntry>> m_ranked;
    bool m_sorted = false;
    /// Open addressing; the slot count is a power of two, at most half of them taken.
    QVector<Slot> m_slots;
};

/// A text of one to eight ASCII characters as a number (seven bits a
/// character, the length on top), so that two such texts are equal exactly
/// when their numbers are; 0 for any other text.
quint64 PackShortAscii(QStringView text);

/// The process-wide call/locator database that every reader feeds and every writer reads.
extern CallList CallDatabase;

/// The one way records enter the database: normalises call and locator, moves
/// two-digit-year dates before 1980 into this century, drops records older
/// than four years and merges the rest.
void AddCallLocator(QStringView call, QStringView locator, const QDateTime &date, int weight);

/// A record made ready for the database off the thread that owns it:
/// normalised, its date moved into this century where needed, judged against
/// the age limit, its log line written. Making one touches nothing shared;
/// MergeRecord() then takes it in as AddCallLocator() would.
struct PreparedRecord
{
    QString call;
    QString locator;
    QDateTime date;
    qint64 stamp = 0; ///< date as milliseconds since the epoch
    int weight = 0;
    bool tooOld = false;
};

class DatabaseDates;

/// The record, with the log text AddCallLocator() would write appended to
/// log when log is not null. ageLimit is AgeLimitStamp(), asked on the owning
/// thread; dates is the calling thread's own.
PreparedRecord PrepareRecord(const QString &call, const QString &locator, const QDateTime &date, int weight,
                             qint64 ageLimit, DatabaseDates &dates, QByteArray *log);

/// Takes a prepared record into the database (its log text is the caller's to write).
void MergeRecord(const PreparedRecord &record);
/// Takes prepared records into the database in their order, as MergeRecord()
/// one after another would.
void MergeRecords(const QVector<PreparedRecord> &records);

/// The most calls PrefetchMerges() looks at.
constexpr int prefetchBlock = 32;
/// Asks the processor to fetch what merging records of these calls (as
/// written, at most prefetchBlock of them) will read: the slots of the calls,
/// then their entries, then their locators. Changes nothing; a call written
/// otherwise than it is stored is only not fetched.
void PrefetchMerges(const QStringView *calls, int count);

/// Index in CallDatabase of the entry with exactly this call, or -1.
int FindCall(QStringView call);

/// Index in the entry's locators of the first with exactly this locator, or -1.
int FindLocator(const CallEntry &entry, QStringView locator);
/// The same, with the locator's PackShortAscii already at hand.
int FindLocator(const CallEntry &entry, QStringView locator, quint64 packed);

/// The oldest date a record may carry: now minus four years.
QDateTime AgeLimit();
/// The same as milliseconds since the epoch.
qint64 AgeLimitStamp();

/// The date as the database takes it: a date before 01.01.1980 (a two-digit
/// year, which the date parser places in the 1900s) moved 100 years on.
QDateTime RepairCentury(const QDateTime &date);
