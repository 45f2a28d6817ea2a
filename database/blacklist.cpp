#include "database/blacklist.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/textlinereader.h"

#include <QStringList>

BlacklistTable Blacklist;

namespace {

/// 198 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 199;

} // namespace

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

std::optional<BlacklistEntry> ParseBlacklistLine(const QString &line)
{
    const QStringList words = ChatListWords(line);
    if (words.isEmpty())
        return std::nullopt;
    return BlacklistEntry { words.at(1), words.at(0),
                            QDateTime::fromString(words.at(2), Qt::ISODate) };
}

void ReadBlacklistFile(const QString &path)
{
    TextLineReader reader(lineBufferSize);
    if (!reader.open(path))
        return;
    QString line;
    while (reader.readLine(line)) {
        if (const std::optional<BlacklistEntry> entry = ParseBlacklistLine(line))
            Blacklist.append(*entry);
    }
}

bool BlacklistHolds(const QString &workedCall, const QString &ownCall, const QDateTime &date)
{
    // The day is only worked out for listed calls: turning a local date-time
    // a century on asks the system's time zone rules, which costs.
    return Blacklist.listsCalls(ownCall, workedCall)
        && Blacklist.contains(ownCall, workedCall, RepairCentury(date).date());
}

QByteArray BlacklistedMessage(const QString &workedCall, const QString &ownCall)
{
    return "Skipping blacklisted QSO " + ownCall.toLocal8Bit() + ' ' + workedCall.toLocal8Bit() + '\n';
}

bool IsBlacklisted(const QString &workedCall, const QString &ownCall, const QDateTime &date)
{
    if (!BlacklistHolds(workedCall, ownCall, date))
        return false;
    const QByteArray message = BlacklistedMessage(workedCall, ownCall);
    std::fwrite(message.constData(), 1, size_t(message.size()), ConsoleFile());
    if (DebugLog)
        std::fwrite(message.constData(), 1, size_t(message.size()), DebugLog);
    return true;
}
