// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/tucnakfile.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/loggerfields.h"
#include "writers/outputfile.h"
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
    DayBytes days(TucnakDateFormat());
    LeftOutCount leftOut;
    QByteArray out;
    out.reserve(2 * 32 * layout.size());
    AppendTucnakFile(layout, 0, layout.size(), out, days, leftOut);
    return out;
}

void WriteTucnakFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut)
{
    QByteArray line = "Generate Tucnak call database ";
    AppendLocal8Bit(line, fileName);
    phase.print(line + '\n');
    // The save has its own memory of days: the outputs are built side by side.
    phase.saveInPieces(
        fileName, layout.size(),
        [&layout, leftOut = &leftOut, days = DayBytes(TucnakDateFormat())](int begin, int end,
                                                                            QByteArray &out) mutable {
            AppendTucnakFile(layout, begin, end, out, days, *leftOut);
            leftOut->complete = end == layout.size();
        },
        OutputMode::Text);
}
