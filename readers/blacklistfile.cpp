// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/blacklistfile.h"

#include "readers/textlinereader.h"

#include <QStringList>

namespace {

/// 198 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 199;

} // namespace

std::optional<BlacklistEntry> ParseBlacklistLine(const QString &line)
{
    const QStringList words = ChatListWords(line);
    if (words.isEmpty())
        return std::nullopt;
    return BlacklistEntry { words.at(1), words.at(0), QDateTime::fromString(words.at(2), Qt::ISODate) };
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
