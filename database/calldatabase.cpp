// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "database/calldatabase.h"

#include "base/clock.h"
#include "base/console.h"

#include <algorithm>
#include <limits>

CallList CallDatabase;

CallList::Key CallList::KeyOf(QStringView call)
{
    Key key;
    key.packed = PackShortAscii(call);
    if (key.packed != 0) {
        const quint64 mixed = key.packed * 0x9E3779B97F4A7C15ull;
        key.hash = uint(mixed >> 32);
    } else {
        key.hash = uint((quint64(qHash(call)) * 0x9E3779B97F4A7C15ull) >> 32);
    }
    return key;
}

void CallList::append(const CallEntry &entry, Key key)
{
    m_sorted = false;
    m_packedCalls.clear();
    m_entries.append(entry);
    if (2 * m_entries.size() > m_slots.size())
        rebuildIndex(qMax(64, 2 * m_slots.size()));
    else
        insertIntoIndex(m_entries.size() - 1, key);
}

int CallList::find(QStringView call, Key key) const
{
    if (m_slots.isEmpty())
        return -1;
    const uint mask = uint(m_slots.size() - 1);
    for (uint i = key.hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots.at(int(i));
        if (slot.position == 0)
            return -1;
        if (slot.hash != key.hash || slot.packed != key.packed)
            continue;
        if (key.packed != 0 || m_entries.at(slot.position - 1).call == call)
            return slot.position - 1;
    }
}

void CallList::insertIntoIndex(int position, Key key)
{
    const uint mask = uint(m_slots.size() - 1);
    uint i = key.hash & mask;
    while (m_slots.at(int(i)).position != 0)
        i = (i + 1) & mask;
    m_slots[int(i)] = Slot { key.packed, key.hash, position + 1 };
}

void CallList::sortByCall()
{
    if (m_entries.isEmpty() || m_sorted)
        return;
    // Calls are unique, so the call order is total and every sort procedure
    // gives the same result. The entries are sorted by a number made of the
    // first eight characters of their calls; only where those agree do the
    // whole texts decide.
    //
    // The items are made from the index, read front to back: a short ASCII
    // call is there whole, as a number, and its text is not read at all.
    struct Item
    {
        quint64 high;
        quint64 low;
        quint64 packed;
        int position;
    };
    QVector<Item> items;
    items.reserve(m_entries.size());
    for (const Slot &slot : qAsConst(m_slots)) {
        if (slot.position == 0)
            continue;
        quint64 prefix[2] = { 0, 0 };
        if (slot.packed != 0) {
            const int size = int(slot.packed >> 56);
            for (int k = 0; k < size; ++k)
                prefix[k / 4] |= ((slot.packed >> (7 * k)) & 0x7f) << (48 - 16 * (k % 4));
        } else {
            const QString &call = m_entries.at(slot.position - 1).call;
            for (int k = 0; k < qMin(call.size(), 8); ++k)
                prefix[k / 4] |= quint64(call.at(k).unicode()) << (48 - 16 * (k % 4));
        }
        items.append(Item { prefix[0], prefix[1], slot.packed, slot.position - 1 });
    }
    Q_ASSERT(items.size() == m_entries.size());
    std::sort(items.begin(), items.end(), [this](const Item &a, const Item &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        return m_entries.at(a.position).call < m_entries.at(b.position).call;
    });
    QVector<CallEntry> sorted;
    sorted.reserve(m_entries.size());
    QVector<int> newPosition(m_entries.size());
    m_packedCalls.resize(0);
    m_packedCalls.reserve(m_entries.size());
    for (int n = 0; n < items.size(); ++n) {
        sorted.append(std::move(m_entries[items.at(n).position]));
        newPosition[items.at(n).position] = n;
        m_packedCalls.append(items.at(n).packed);
    }
    m_entries.swap(sorted);
    m_sorted = true;
    // The calls keep their slots; only the positions there change. Working
    // the index out anew would read every call's text once more.
    for (Slot &slot : m_slots) {
        if (slot.position != 0)
            slot.position = newPosition.at(slot.position - 1) + 1;
    }
}

void CallList::clear()
{
    m_sorted = false;
    m_packedCalls.clear();
    m_entries.clear();
    m_slots.clear();
}

void CallList::rebuildIndex(int slotCount)
{
    m_slots.fill(Slot { 0, 0, 0 }, slotCount);
    for (int i = 0; i < m_entries.size(); ++i)
        insertIntoIndex(i, KeyOf(m_entries.at(i).call));
}

int FindCall(QStringView call)
{
    return CallDatabase.indexOf(call);
}

int FindLocator(const CallEntry &entry, QStringView locator, quint64 packed)
{
    for (int j = 0; j < entry.locators.size(); ++j) {
        const LocatorEntry &known = entry.locators.at(j);
        if (packed != 0 && known.packed != 0 ? known.packed == packed : known.locator == locator)
            return j;
    }
    return -1;
}

namespace {

/// Weights add up over many runs; a sum that would pass the largest int stays
/// there instead of wrapping round to a negative weight that the next run's
/// reader would throw away.
int AddWeights(int a, int b)
{
    int sum;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
    return sum;
}

/// True when the text is upper case and simplified, as every call and
/// locator is stored; most arrive that way already and need no new string.
/// Text beyond ASCII is left to QString.
bool IsNormalised(QStringView text)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() >= 0x80 || c.isLower()
            || (c.isSpace() && (c != QLatin1Char(' ') || text.at(i - 1) == QLatin1Char(' '))))
            return false;
    }
    return true;
}

/// The text as it is stored: upper case and simplified.
QStringView Normalised(QStringView text, QString &storage)
{
    if (IsNormalised(text))
        return text;
    storage = text.toString().toUpper().simplified();
    return storage;
}

/// Appends the log line "call locator day" of a record, in the local 8-bit encoding.
void AppendLogLine(QByteArray &out, QStringView call, QStringView locator, const QString &day)
{
    AppendLocal8Bit(out, call);
    out += ' ';
    AppendLocal8Bit(out, locator);
    out += ' ';
    AppendLocal8Bit(out, day);
    out += '\n';
}

const char tooOldLine[] = "QSO too old\n";

/// Takes a normalised record into the database. The strings, when not
/// null, hold the call and the locator already, so that new entries share them.
void Merge(CallList &database, QStringView call, QStringView locator, const QDateTime &date, qint64 stamp,
           int weight, const QString *callText, const QString *locatorText)
{
    const CallList::Key key = CallList::KeyOf(call);
    const quint64 packedLocator = PackShortAscii(locator);
    const int i = database.find(call, key);
    if (i < 0) {
        database.append(CallEntry { callText ? *callText : call.toString(),
                                    { LocatorEntry { locatorText ? *locatorText : locator.toString(), date, stamp,
                                                     weight, packedLocator } } },
                        key);
        return;
    }

    const int j = FindLocator(database.at(i), locator, packedLocator);
    QVector<LocatorEntry> &locators = database.locatorsAt(i);
    if (j < 0) {
        locators.append(LocatorEntry { locatorText ? *locatorText : locator.toString(), date, stamp, weight,
                                       packedLocator });
        return;
    }

    LocatorEntry &known = locators[j];
    known.weight = AddWeights(known.weight, weight);
    if (known.stamp < stamp) {
        known.date = date;
        known.stamp = stamp;
    }
}

} // namespace

RecordAdder::RecordAdder(CallList &database, FILE *log, const QDateTime &now)
    : m_database(database)
    , m_log(log)
    , m_ageLimit(AgeLimitStamp(now))
{
    m_line.reserve(256);
}

void RecordAdder::add(QStringView call, QStringView locator, const QDateTime &givenDate, int weight)
{
    QString callStorage, locatorStorage;
    call = Normalised(call, callStorage);
    locator = Normalised(locator, locatorStorage);
    const DatabaseDate &date = m_dates.of(givenDate);

    if (m_log) {
        m_line.resize(0);
        AppendLogLine(m_line, call, locator, date.day);
        std::fwrite(m_line.constData(), 1, size_t(m_line.size()), m_log);
    }

    if (date.stamp < m_ageLimit) {
        FilePrint(m_log, "%s", tooOldLine);
        return;
    }
    Merge(m_database, call, locator, date.date, date.stamp, weight, nullptr, nullptr);
}

void AddCallLocator(QStringView call, QStringView locator, const QDateTime &date, int weight)
{
    RecordAdder(CallDatabase, DebugLog, Clock::Now()).add(call, locator, date, weight);
}

PreparedRecord PrepareRecord(const QString &call, const QString &locator, const QDateTime &givenDate, int weight,
                             qint64 ageLimit, DatabaseDates &dates, QByteArray *log)
{
    PreparedRecord record;
    QString storage;
    const QStringView callView = Normalised(call, storage);
    record.call = callView.data() == call.constData() && callView.size() == call.size() ? call : storage;
    const QStringView locatorView = Normalised(locator, storage);
    record.locator
        = locatorView.data() == locator.constData() && locatorView.size() == locator.size() ? locator : storage;
    const DatabaseDate &date = dates.of(givenDate);
    record.date = date.date;
    record.stamp = date.stamp;
    record.weight = weight;
    if (log)
        AppendLogLine(*log, record.call, record.locator, date.day);
    record.tooOld = record.stamp < ageLimit;
    if (log && record.tooOld)
        log->append(tooOldLine);
    return record;
}

void MergeRecord(CallList &database, const PreparedRecord &record)
{
    if (!record.tooOld)
        Merge(database, record.call, record.locator, record.date, record.stamp, record.weight, &record.call,
              &record.locator);
}

void PrefetchMerges(const CallList &database, const QStringView *calls, int count)
{
    count = qMin(count, prefetchBlock);
    CallList::Key keys[prefetchBlock];
    int positions[prefetchBlock];
    for (int k = 0; k < count; ++k) {
        keys[k] = CallList::KeyOf(calls[k]);
        database.prefetchSlot(keys[k]);
    }
    for (int k = 0; k < count; ++k) {
        positions[k] = database.find(calls[k], keys[k]);
        if (positions[k] >= 0)
            database.prefetchEntry(positions[k]);
    }
    for (int k = 0; k < count; ++k) {
        if (positions[k] >= 0)
            database.prefetchLocators(positions[k]);
    }
}

void MergeRecords(CallList &database, const QVector<PreparedRecord> &records)
{
    // In blocks, what the merges of a block will read fetched ahead first.
    QStringView calls[prefetchBlock];
    for (int begin = 0; begin < records.size(); begin += prefetchBlock) {
        const int size = qMin(prefetchBlock, records.size() - begin);
        for (int k = 0; k < size; ++k)
            calls[k] = records.at(begin + k).call;
        PrefetchMerges(database, calls, size);
        for (int k = 0; k < size; ++k)
            MergeRecord(database, records.at(begin + k));
    }
}
