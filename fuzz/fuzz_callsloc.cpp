// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The calls_loc.dat reader on one file; the line reader against plain
// lines, the call index against a walk, and the database written as
// calls_loc.dat and read back into the same calls, locators, dates and
// weights.

#include "fuzzsupport.h"

#include "database/calldatabase.h"
#include "readers/callslocfile.h"
#include "readers/sourcefiles.h"
#include "writers/callslocfile.h"
#include "writers/outputlayout.h"

#include <QStringList>

namespace {

QStringList Dump()
{
    QStringList lines;
    for (const CallEntry &entry : CallDatabase) {
        for (const LocatorEntry &locator : entry.locators)
            lines << entry.call + QLatin1Char('|') + locator.locator + QLatin1Char('|')
                    + QString::number(locator.weight) + QLatin1Char('|') + locator.date.toString(Qt::ISODate);
    }
    lines.sort();
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::BeginInput();
    const QByteArray bytes = Fuzz::Bytes(data, size);
    static const QString directory = Fuzz::ScratchDir(QStringLiteral("callsloc"));
    const QString path = directory + QStringLiteral("/calls_loc.dat");
    Fuzz::WriteFile(path, bytes);
    ReadCallsLocFile(SourceFile { QStringLiteral("calls_loc.dat"), path });
    Fuzz::CheckLineReader(path, bytes, 99);
    Fuzz::CheckCallIndex();

    // A line the reader would take in two pieces cannot come back whole; the
    // written lines are as long as the calls and locators read make them.
    const QStringList read = Dump();
    const QByteArray written = BuildCallsLocDat(OutputLayout(CallDatabase));
    bool fits = true;
    for (const QByteArray &line : written.split('\n'))
        fits = fits && line.size() + 1 <= 98;
    if (fits) {
        Fuzz::WriteFile(path, written);
        CallDatabase.clear();
        ReadCallsLocFile(SourceFile { QStringLiteral("calls_loc.dat"), path });
        if (Dump() != read)
            Fuzz::Fail("calls_loc.dat written and read back", QString::fromUtf8(written));
    }
    Fuzz::BuildOutputs();
    return 0;
}
