// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/callslocfile.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

void AppendCallsLocDat(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days)
{
    QByteArray call;
    for (int i = begin; i < end; ++i) {
        call.resize(0);
        AppendLocal8Bit(call, layout.callAt(i));
        for (const RankedLocator &locator : layout.locatorsAt(i)) {
            out += call;
            out += ',';
            AppendLocal8Bit(out, locator.locator);
            out += ',';
            out += days.text(locator.date, locator.stamp);
            out += ',';
            AppendDecimal(out, locator.weight);
            out += '\n';
        }
    }
}

QByteArray BuildCallsLocDat(const OutputLayout &layout)
{
    DayBytes days;
    QByteArray out;
    out.reserve(80 * layout.size()); // about 65 bytes a call in large databases
    AppendCallsLocDat(layout, 0, layout.size(), out, days);
    return out;
}

void WriteCallsLocDat(OutputPhase &phase, const OutputLayout &layout)
{
    phase.print("Write out database as calls_loc.dat file\n");
    // The save has its own memory of days: the outputs are built side by side.
    phase.saveInPieces(
        QStringLiteral("calls_loc.dat"), layout.size(),
        [&layout, days = DayBytes()](int begin, int end, QByteArray &out) mutable {
            AppendCallsLocDat(layout, begin, end, out, days);
        },
        OutputMode::Text);
}
