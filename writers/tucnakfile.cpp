// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/tucnakfile.h"

#include "base/datetext.h"
#include "writers/loggerfields.h"
#include "writers/outputlayout.h"

QString TucnakDateFormat()
{
    return QStringLiteral("yyyyMMdd");
}

void AppendTucnakFile(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                      LeftOutCount &leftOut)
{
    for (int i = begin; i < end; ++i) {
        const QStringView call = layout.callAt(i);
        if (!FitsLoggerField(call, tucnakCallWidth, FieldCharacters::Ascii)) {
            ++leftOut.calls;
            continue;
        }
        const RankedLocatorList ranked = layout.locatorsAt(i);
        const int taken = qMin(ranked.size(), 2);
        int written = 0;
        for (int k = 0; k < taken; ++k) {
            const RankedLocator &locator = ranked.at(k);
            if (!FitsLoggerField(locator.locator, tucnakLocatorWidth, FieldCharacters::Ascii))
                continue;
            AppendPaddedAscii(out, call, tucnakCallWidth);
            out += ' ';
            AppendPaddedAscii(out, locator.locator, tucnakLocatorWidth);
            out += ' ';
            out += days.text(locator.date, locator.stamp);
            out += '\n';
            ++written;
        }
        if (written == 0)
            ++leftOut.calls;
        else
            leftOut.locators += taken - written;
    }
}

QByteArray BuildTucnakFile(const OutputLayout &layout)
{
    return BuildLoggerFile(layout, AppendTucnakFile, TucnakDateFormat(), 64);
}

void WriteTucnakFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut)
{
    WriteLoggerFile(phase, layout, fileName, "Tucnak call database", AppendTucnakFile, TucnakDateFormat(), leftOut);
}
