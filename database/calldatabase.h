#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVector>

#include <cstring>
#include <memory>
#include <vector>

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

/// One locator of an entry as the outputs list it. Its text lies, with the
/// text of every other call and locator, in text laid out for the outputs.
struct RankedLocator
{
    QStringView locator; ///< upper case, simplified
    int weight = 0;
    qint64 stamp = 0; ///< date as milliseconds since the epoch
    QDateTime date;
};
// Its parts may be moved in memory as bytes, so that the layout grows without
// copying them one by one.
Q_DECLARE_TYPEINFO(RankedLocator, Q_MOVABLE_TYPE);

/// The locators of one entry in the locator order, as the list lays them out
/// for the outputs; valid until the list changes.
class RankedLocatorList
{
public:
    RankedLocatorList(const RankedLocator *first, int count)
        : m_first(first)
        , m_count(count)
    {
    }

    int size() const { return m_count; }
    const RankedLocator &at(int i) const
    {
        Q_ASSERT(i >= 0 && i < m_count);
        return m_first[i];
    }
    const RankedLocator *begin() const { return m_first; }
    const RankedLocator *end() const { return m_first + m_count; }

private:
    const RankedLocator *m_first;
    int m_count;
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
        forgetOutputLayout();
        return m_entries[i].locators;
    }
    /// The locators of entry i in the locator order (RankedLocators), worked
    /// out once for all outputs until the list changes.
    RankedLocatorList rankedAt(int i) const;
    /// The call of entry i, from the same layout as rankedAt().
    QStringView rankedCallAt(int i) const;
    /// Brings the list into the call order for good; nothing happens when it
    /// is in that order already, so that the outputs, built side by side, may
    /// all ask for it.
    void sortByCall();
    /// Works out rankedAt() and rankedCallAt() of every entry at once, so that
    /// threads may then read them.
    ///
    /// Every output walks the whole list. The calls, their locators and their
    /// texts lie wherever the merging left them, and a large database does
    /// not fit in the processor's caches: each output would wait for memory
    /// at every call. So the calls and their ranked locators, texts included,
    /// are laid out once, in the list's order, in memory of their own; the
    /// outputs then read it front to back.
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
        const char *block = BlockOf(m_entries.at(i).locators);
        __builtin_prefetch(block);
        __builtin_prefetch(block + 64);
    }
    /// The same for the text of an entry's call.
    void prefetchCall(int i) const { __builtin_prefetch(BlockOf(m_entries.at(i).call)); }

private:
    /// The block of a string or a vector: its header, then its items. Both
    /// are one pointer to it; asking them for their items would read the
    /// header, which is what is to be fetched, while the pointer is at hand.
    template<typename Shared>
    static const char *BlockOf(const Shared &object)
    {
        static_assert(sizeof(Shared) == sizeof(void *), "one pointer to a block");
        const char *block;
        std::memcpy(&block, &object, sizeof block);
        return block;
    }

    struct Slot
    {
        quint64 packed;
        uint hash;
        int position; ///< position + 1 of the entry; 0 for a free slot
    };

    void insertIntoIndex(int position, Key key);
    void rebuildIndex(int slotCount);

    /// An entry as laid out for the outputs: its call, and where its ranked
    /// locators begin in m_rankedLocators and how many there are.
    struct RankedEntry
    {
        QStringView call;
        int first;
        int count;
    };
    void forgetOutputLayout()
    {
        if (!m_rankedEntries.isEmpty())
            clearOutputLayout();
    }
    void clearOutputLayout() const;
    /// Room for size characters of text in m_rankedText, which never moves.
    QChar *rankedTextRoom(int size) const;
    /// A copy of text there.
    QStringView keepRankedText(QStringView text) const;
    /// The text of a PackShortAscii() number there.
    QStringView keepRankedText(quint64 packed) const;

    QVector<CallEntry> m_entries;
    /// The layout of rankAll(): empty until asked for, and whenever the list changed since.
    mutable QVector<RankedEntry> m_rankedEntries;
    mutable QVector<RankedLocator> m_rankedLocators;
    /// Blocks of text; a new one is begun when the last is full.
    mutable std::vector<std::unique_ptr<QChar[]>> m_rankedText;
    mutable QChar *m_rankedTextNext = nullptr; ///< where the next text goes in the last block
    mutable int m_rankedTextFree = 0; ///< room left there
    bool m_sorted = false;
    /// PackShortAscii() of every call in list order, made by sortByCall()
    /// from the index; empty once the list has changed since.
    QVector<quint64> m_packedCalls;
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
