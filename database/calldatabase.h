#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVector>

/// One locator a call has been heard from.
struct LocatorEntry
{
    QString locator; ///< upper case, simplified
    QDateTime date; ///< the latest date given for this call and locator
    int weight = 0; ///< the sum of all weights given for this call and locator
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
    int indexOf(const QString &call) const { return m_index.value(call, -1); }
    /// Appends an entry whose call is not in the list yet.
    void append(const CallEntry &entry);
    /// The locators of one entry, for merging into them; the call itself stays.
    QVector<LocatorEntry> &locatorsAt(int i) { return m_entries[i].locators; }
    /// Brings the list into the call order for good.
    void sortByCall();
    void clear();

private:
    void rebuildIndex();

    QVector<CallEntry> m_entries;
    QHash<QString, int> m_index;
};

/// The process-wide call/locator database that every reader feeds and every writer reads.
extern CallList CallDatabase;

/// The one way records enter the database: normalises call and locator, moves
/// two-digit-year dates before 1980 into this century, drops records older
/// than four years and merges the rest.
void AddCallLocator(QString call, QString locator, QDateTime date, int weight);

/// Index in CallDatabase of the entry with exactly this call, or -1.
int FindCall(const QString &call);

/// Index in the entry's locators of the first with exactly this locator, or -1.
int FindLocator(const CallEntry &entry, const QString &locator);

/// The oldest date a record may carry: now minus four years.
QDateTime AgeLimit();

/// The date as the database takes it: a date before 01.01.1980 (a two-digit
/// year, which the date parser places in the 1900s) moved 100 years on.
QDateTime RepairCentury(const QDateTime &date);
