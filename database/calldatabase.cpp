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

/// Upper case and simplified, as every call and locator is stored. Most
/// arrive that way already, and then no new string is made.
QString Normalised(const QString &text)
{
    bool plain = !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
    for (int i = 0; plain && i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isLower() || (c.isSpace() && (c != QLatin1Char(' ') || text.at(i - 1) == QLatin1Char(' '))))
            plain = false;
        else if (c.unicode() >= 0x80)
            plain = false; // leave the rest of Unicode to QString
    }
    return plain ? text : text.toUpper().simplified();
}

} // namespace

void AddCallLocator(QString call, QString locator, QDateTime date, int weight)
{
    call = Normalised(call);
    locator = Normalised(locator);

    date = RepairCentury(date);

    if (DebugLog) {
        // "%s %s %s\n" with call, locator and day, converted in one piece.
        const QByteArray line = QString(call + QLatin1Char(' ') + locator + QLatin1Char(' ') + DayText(date)
                                        + QLatin1Char('\n'))
                                    .toLocal8Bit();
        std::fwrite(line.constData(), 1, size_t(line.size()), DebugLog);
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
