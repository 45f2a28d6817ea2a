// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "database/databasedates.h"

namespace {

constexpr int maxCachedDates = 4096;

} // namespace

QDateTime RepairCentury(const QDateTime &date)
{
    // A date that did not read counts as the first day of Qt's calendar,
    // 24.11.-4714 at midnight, where Qt 5 puts such a date moved by a
    // century: it is logged so and dropped as too old, and it is no day a
    // blacklist names. (Qt 6 would keep it invalid.)
    if (!date.isValid())
        return QDateTime(QDate::fromJulianDay(0), QTime(0, 0));
    // Two-digit years come out of the date parser in the 1900s; before this
    // day they are taken to mean the 2000s.
    static const QDateTime reference(QDate(1980, 1, 1), QTime(0, 0));
    return date < reference ? date.addYears(100) : date;
}

qint64 AgeLimitStamp(const QDateTime &now)
{
    return now.addYears(-4).toMSecsSinceEpoch();
}

const DatabaseDate &DatabaseDates::of(const QDateTime &given)
{
    const auto work = [this](const QDateTime &date, DatabaseDate &out) {
        out.date = RepairCentury(date);
        out.stamp = out.date.toMSecsSinceEpoch();
        out.day = m_days.text(out.date);
    };
    if (!given.isValid() || given.timeSpec() != Qt::LocalTime) {
        work(given, m_other);
        return m_other;
    }
    // The local moment names a local date-time fully, apart from the hour
    // that a change back from summer time repeats, which no date text names.
    const qint64 key = given.date().toJulianDay() * 86400000 + given.time().msecsSinceStartOfDay();
    const auto it = m_dates.constFind(key);
    if (it != m_dates.constEnd())
        return it.value();
    if (m_dates.size() >= maxCachedDates)
        m_dates.clear();
    DatabaseDate &date = m_dates[key];
    work(given, date);
    return date;
}
