// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/vhfdtb.h"

#include "base/clock.h"
#include "base/console.h"
#include "database/calldatabase.h"

#include <QFile>

#include <cstring>

namespace {

QString FieldText(const char *field, int maxBytes)
{
    return QString::fromUtf8(field, int(qstrnlen(field, uint(maxBytes))));
}

} // namespace

VhfDtbRecord ParseVhfDtbRecord(const char *record)
{
    using namespace VhfDtb;
    // A field may lack its zero byte; the text then ends with the byte that should hold it.
    return { FieldText(record + callOffset, callSize + 1),
             FieldText(record + locatorOffset, locatorSize + 1) };
}

void ReadVhfDtb(const QString &directory)
{
    QFile file(directory + QStringLiteral("/vhf.dtb"));
    if (!file.open(QIODevice::ReadOnly))
        return;

    ConsolePrint("VHF.DTB found, read ... ");
    const QDateTime now = Clock::Now();
    RecordAdder adder(CallDatabase, DebugLog, now);
    int count = 0;
    char record[VhfDtb::recordSize];
    // A short remainder at the end of the file, and anything after a read error, is ignored.
    while (file.read(record, sizeof record) == qint64(sizeof record)) {
        const VhfDtbRecord parsed = ParseVhfDtbRecord(record);
        adder.add(parsed.call, parsed.locator, now, 1);
        ++count;
    }
    ConsolePrint(" %d Calls\n", count);
}
