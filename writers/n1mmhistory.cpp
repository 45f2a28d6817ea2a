// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/n1mmhistory.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/loggerfields.h"
#include "writers/outputlayout.h"

const char n1mmHistoryHeader[] = "!!Order!!,Call,Loc1,UserText";

QString N1mmHistoryDateFormat()
{
    return QStringLiteral("yyyy-MM-dd");
}

void AppendN1mmHistory(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                       LeftOutCount &leftOut)
{
    if (begin == 0) {
        out += n1mmHistoryHeader;
        out += '\n';
    }
    for (int i = begin; i < end; ++i) {
        const QStringView call = layout.callAt(i);
        const RankedLocatorList ranked = layout.locatorsAt(i);
        const RankedLocator &best = ranked.at(0);
        if (!FitsLoggerField(call, anyFieldLength, FieldCharacters::Local8Bit)
            || !FitsLoggerField(best.locator, anyFieldLength, FieldCharacters::Local8Bit)) {
            ++leftOut.calls;
            continue;
        }
        AppendLocal8Bit(out, call);
        out += ',';
        AppendLocal8Bit(out, best.locator);
        out += ',';
        if (ranked.size() >= 2) {
            const RankedLocator &second = ranked.at(1);
            if (FitsLoggerField(second.locator, anyFieldLength, FieldCharacters::Local8Bit)) {
                out += "2nd ";
                AppendLocal8Bit(out, second.locator);
                out += ' ';
                AppendDecimal(out, second.weight);
                out += "; ";
            } else {
                ++leftOut.locators;
            }
        }
        out += "seen ";
        out += days.text(best.date, best.stamp);
        out += '\n';
    }
}

QByteArray BuildN1mmHistory(const OutputLayout &layout)
{
    return BuildLoggerFile(layout, AppendN1mmHistory, N1mmHistoryDateFormat(), 48);
}

void WriteN1mmHistory(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut)
{
    WriteLoggerFile(phase, layout, fileName, "N1MM+ call history", AppendN1mmHistory, N1mmHistoryDateFormat(), leftOut);
}
