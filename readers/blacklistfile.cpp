// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/blacklistfile.h"

#include "readers/textlinereader.h"

#include <QStringList>

namespace {

/// 198 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 199;

} // namespace

namespace {

/// An ISO 8601 date, or date and time, as Qt 5 reads it: a time needs its
/// hour and minute ("2026-05-20T18:30"); Qt 6 would take an hour alone.
QDateTime ReadIsoDate(const QString &text)
{
    const int t = text.indexOf(QLatin1Char('T'));
    if (t >= 0 && (text.size() < t + 6 || text.at(t + 3) != QLatin1Char(':')))
        return QDateTime();
    return QDateTime::fromString(text, Qt::ISODate);
}

} // namespace

std::optional<BlacklistEntry> ParseBlacklistLine(const QString &line)
{
    const QStringList words = ChatListWords(line);
    if (words.isEmpty())
        return std::nullopt;
    return BlacklistEntry { words.at(1), words.at(0), ReadIsoDate(words.at(2)) };
}

void ReadBlacklistFile(const QString &path, BlacklistTable &table)
{
    TextLineReader reader(lineBufferSize);
    if (!reader.open(path))
        return;
    QString line;
    while (reader.readLine(line)) {
        if (const std::optional<BlacklistEntry> entry = ParseBlacklistLine(line))
            table.append(*entry);
    }
}
