// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/kstlist.h"

#include "base/clock.h"
#include "base/console.h"
#include "database/calldatabase.h"
#include "readers/textlinereader.h"

#include <QStringList>

namespace {

/// 198 bytes of text a read, plus the terminating zero.
constexpr int lineBufferSize = 199;

constexpr int userWeight = 10;

} // namespace

std::optional<KstUser> ParseKstLine(const QString &line)
{
    // The third word (the user's name) must be there, though it is not used.
    const QStringList words = ChatListWords(line);
    if (words.isEmpty())
        return std::nullopt;
    KstUser user;
    user.call = words.at(0).simplified();
    user.call.remove(QLatin1Char('('));
    user.call.remove(QLatin1Char(')'));
    user.locator = words.at(1).simplified();
    if (user.call.isEmpty() || user.locator.isEmpty())
        return std::nullopt;
    return user;
}

int ImportKstList(const QString &path)
{
    TextLineReader reader(lineBufferSize);
    if (!reader.open(path))
        return 0;
    const QDateTime now = Clock::Now();
    RecordAdder adder(CallDatabase, DebugLog, now);
    int count = 0;
    QString line;
    while (reader.readLine(line)) {
        if (const std::optional<KstUser> user = ParseKstLine(line)) {
            adder.add(user->call, user->locator, now, userWeight);
            ++count;
        }
    }
    return count;
}
