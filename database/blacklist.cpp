// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "database/blacklist.h"

#include "database/databasedates.h"

BlacklistTable Blacklist;

uint qHash(const BlacklistTable::CallPair &pair, uint seed)
{
    return qHash(pair.ownCall, seed) * 31 + qHash(pair.workedCall, seed);
}

void BlacklistTable::append(const BlacklistEntry &entry)
{
    m_entries.append(entry);
    m_days[CallPair { entry.ownCall, entry.workedCall }].insert(entry.date.date().toJulianDay());
}

bool BlacklistTable::listsCalls(const QString &ownCall, const QString &workedCall) const
{
    return !m_days.isEmpty() && m_days.contains(CallPair { ownCall, workedCall });
}

bool BlacklistTable::contains(const QString &ownCall, const QString &workedCall, const QDate &day) const
{
    const auto it = m_days.constFind(CallPair { ownCall, workedCall });
    return it != m_days.constEnd() && it->contains(day.toJulianDay());
}

void BlacklistTable::clear()
{
    m_entries.clear();
    m_days.clear();
}

bool IsBlacklisted(const BlacklistTable &table, const QString &workedCall, const QString &ownCall,
                   const QDateTime &date)
{
    // The day is only worked out for listed calls: turning a local date-time
    // a century on asks the system's time zone rules, which costs.
    return table.listsCalls(ownCall, workedCall) && table.contains(ownCall, workedCall, RepairCentury(date).date());
}

QByteArray BlacklistedMessage(const QString &workedCall, const QString &ownCall)
{
    return "Skipping blacklisted QSO " + ownCall.toLocal8Bit() + ' ' + workedCall.toLocal8Bit() + '\n';
}
