// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The blacklist reader on one file: one entry per usable line, the line
// reader against plain lines, and the blacklist's index against walking
// its entries, for every entry and for near misses.

#include "fuzzsupport.h"

#include "database/blacklist.h"
#include "database/databasedates.h"
#include "readers/blacklistfile.h"
#include "readers/textlinereader.h"

namespace {

bool Walk(const QString &own, const QString &worked, const QDate &day, bool anyDay)
{
    for (const BlacklistEntry &entry : Blacklist.entries()) {
        if (entry.ownCall == own && entry.workedCall == worked && (anyDay || entry.date.date() == day))
            return true;
    }
    return false;
}

void Check(const QString &own, const QString &worked, const QDateTime &date)
{
    const QDate day = RepairCentury(date).date();
    if (Blacklist.listsCalls(own, worked) != Walk(own, worked, day, true)
        || Blacklist.contains(own, worked, date.date()) != Walk(own, worked, date.date(), false)
        || IsBlacklisted(Blacklist, worked, own, date) != Walk(own, worked, day, false))
        Fuzz::Fail("blacklist index against walking the entries",
                   own + QLatin1Char(' ') + worked + QLatin1Char(' ') + date.toString(Qt::ISODate));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString path = Fuzz::ScratchDir(QStringLiteral("blacklist")) + QStringLiteral("/busted.blacklist");
    Fuzz::WriteFile(path, bytes);
    ReadBlacklistFile(path, Blacklist);
    Fuzz::CheckLineReader(path, bytes, 199);

    int usable = 0;
    for (const QByteArray &line : Fuzz::PlainLines(bytes, 199))
        usable += ParseBlacklistLine(DecodeLine(line)) ? 1 : 0;
    if (Blacklist.size() != usable)
        Fuzz::Fail("one entry per usable line");

    const QVector<BlacklistEntry> entries = Blacklist.entries();
    for (int i = 0; i < qMin(entries.size(), 100); ++i) {
        const BlacklistEntry &entry = entries.at(i);
        Check(entry.ownCall, entry.workedCall, entry.date);
        Check(entry.ownCall, entry.workedCall, entry.date.addDays(1));
        Check(entry.ownCall, entry.workedCall, entry.date.addYears(-100));
        Check(entry.ownCall, entry.workedCall, QDateTime());
        Check(entry.workedCall, entry.ownCall, entry.date);
        Check(entry.ownCall.toLower(), entry.workedCall, entry.date);
    }
    return 0;
}
