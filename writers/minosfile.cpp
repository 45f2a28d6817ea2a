// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/minosfile.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/loggerfields.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

QString MinosDateFormat()
{
    return QStringLiteral("yyyy/MM/dd");
}

void AppendMinosFile(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                     LeftOutCount &leftOut)
{
    QByteArray call;
    for (int i = begin; i < end; ++i) {
        if (!FitsLoggerField(layout.callAt(i), anyFieldLength, FieldCharacters::Local8Bit)) {
            ++leftOut.calls;
            continue;
        }
        call = "\"";
        AppendLocal8Bit(call, layout.callAt(i));
        call += "\",\"";
        const RankedLocatorList ranked = layout.locatorsAt(i);
        int written = 0;
        for (const RankedLocator &locator : ranked) {
            if (!FitsLoggerField(locator.locator, anyFieldLength, FieldCharacters::Local8Bit))
                continue;
            out += call;
            AppendLocal8Bit(out, locator.locator);
            out += "\",\"\",";
            AppendDecimal(out, locator.weight);
            out += ",\"";
            out += days.text(locator.date, locator.stamp);
            out += ";\"\n";
            ++written;
        }
        if (written == 0)
            ++leftOut.calls;
        else
            leftOut.locators += ranked.size() - written;
    }
}

QByteArray BuildMinosFile(const OutputLayout &layout)
{
    DayBytes days(MinosDateFormat());
    LeftOutCount leftOut;
    QByteArray out;
    out.reserve(2 * 40 * layout.size());
    AppendMinosFile(layout, 0, layout.size(), out, days, leftOut);
    return out;
}

void WriteMinosFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut)
{
    QByteArray line = "Generate Minos archive call list ";
    AppendLocal8Bit(line, fileName);
    phase.print(line + '\n');
    // The save has its own memory of days: the outputs are built side by side.
    phase.saveInPieces(
        fileName, layout.size(),
        [&layout, leftOut = &leftOut, days = DayBytes(MinosDateFormat())](int begin, int end,
                                                                           QByteArray &out) mutable {
            AppendMinosFile(layout, begin, end, out, days, *leftOut);
            leftOut->complete = end == layout.size();
        },
        OutputMode::Text);
}
