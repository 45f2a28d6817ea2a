// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "base/datetext.h"

#include <QDateTime>
#include <QHash>
#include <QString>

/// The date as the database takes it: a date before 01.01.1980 (a two-digit
/// year, which the date parser places in the 1900s) moved 100 years on; a
/// date that did not read (an invalid one) the first day of the calendar,
/// 24.11.-4714.
QDateTime RepairCentury(const QDateTime &date);

/// The oldest date a record may carry, now minus four years, as
/// milliseconds since the epoch.
qint64 AgeLimitStamp(const QDateTime &now);

/// A record's date as the database takes it (RepairCentury), with what
/// merging and logging need of it.
struct DatabaseDate
{
    QDateTime date;
    /// The date as milliseconds since the epoch. Dates are compared by it:
    /// comparing two local date-times of different seasons converts both
    /// through the time zone every time.
    qint64 stamp = 0;
    QString day; ///< the day as "dd.MM.yyyy"
};

/// Works out the DatabaseDate of each distinct date once; one for each
/// thread. Records repeat the same few thousand days, so nearly every answer
/// comes from memory, and the memory is bounded.
class DatabaseDates
{
public:
    /// Valid until the next call.
    const DatabaseDate &of(const QDateTime &given);

private:
    QHash<qint64, DatabaseDate> m_dates; ///< local dates by their local moment
    DatabaseDate m_other; ///< the last answer for an invalid or non-local date
    DayTexts m_days;
};
