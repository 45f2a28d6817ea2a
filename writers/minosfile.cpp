// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/minosfile.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/loggerfields.h"
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
    return BuildLoggerFile(layout, AppendMinosFile, MinosDateFormat(), 80);
}

void WriteMinosFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut)
{
    WriteLoggerFile(phase, layout, fileName, "Minos archive call list", AppendMinosFile, MinosDateFormat(), leftOut);
}
