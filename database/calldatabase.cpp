#include "database/calldatabase.h"

#include "app/clock.h"
#include "app/console.h"
#include "database/datetext.h"
#include "database/ordering.h"

#include <limits>

CallList CallDatabase;

void CallList::append(const CallEntry &entry)
{
    m_index.insert(entry.call, m_entries.size());
    m_entries.append(entry);
}

void CallList::sortByCall()
{
    if (m_entries.isEmpty())
        return;
    SortRange(m_entries, CallBefore);
    rebuildIndex();
}

void CallList::clear()
{
    m_entries.clear();
    m_index.clear();
}

void CallList::rebuildIndex()
{
    m_index.clear();
    m_index.reserve(m_entries.size());
    for (int i = 0; i < m_entries.size(); ++i)
        m_index.insert(m_entries.at(i).call, i);
}

int FindCall(const QString &call)
{
    return CallDatabase.indexOf(call);
}

int FindLocator(const CallEntry &entry, const QString &locator)
{
    for (int j = 0; j < entry.locators.size(); ++j) {
        if (entry.locators.at(j).locator == locator)
            return j;
    }
    return -1;
}

QDateTime AgeLimit()
{
    static int generation = -1;
    static QDateTime limit;
    if (generation != Clock::generation()) {
        limit = Clock::now().addYears(-4);
        generation = Clock::generation();
    }
    return limit;
}

QDateTime RepairCentury(const QDateTime &date)
{
    // Two-digit years come out of the date parser in the 1900s; before this
    // day they are taken to mean the 2000s.
    static const QDateTime reference
        = QDateTime::fromString(QStringLiteral("01.01.1980"), QStringLiteral("dd.MM.yyyy"));
    return date < reference ? date.addYears(100) : date;
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

} // namespace

void AddCallLocator(QString call, QString locator, QDateTime date, int weight)
{
    call = call.toUpper().simplified();
    locator = locator.toUpper().simplified();

    date = RepairCentury(date);

    if (DebugLog) {
        FilePrint(DebugLog, "%s %s %s\n", qPrintable(call), qPrintable(locator),
                  qPrintable(DayText(date)));
    }

    if (date < AgeLimit()) {
        FilePrint(DebugLog, "QSO too old\n");
        return;
    }

    const int i = FindCall(call);
    if (i < 0) {
        CallDatabase.append(CallEntry { call, { LocatorEntry { locator, date, weight } } });
        return;
    }

    const int j = FindLocator(CallDatabase.at(i), locator);
    QVector<LocatorEntry> &locators = CallDatabase.locatorsAt(i);
    if (j < 0) {
        locators.append(LocatorEntry { locator, date, weight });
        return;
    }

    LocatorEntry &known = locators[j];
    known.weight = AddWeights(known.weight, weight);
    if (known.date < date)
        known.date = date;
}
