// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/callslocdbg.h"

#include "base/datetext.h"
#include "base/text.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

void AppendCallsLocListing(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days)
{
    for (int i = begin; i < end; ++i) {
        AppendLocal8Bit(out, layout.callAt(i));
        out += ' ';
        for (const RankedLocator &locator : layout.locatorsAt(i)) {
            AppendLocal8Bit(out, locator.locator);
            out += " (";
            AppendDecimal(out, locator.weight);
            out += ' ';
            out += days.text(locator.date, locator.stamp);
            out += ") ";
        }
        out += '\n';
    }
}

QByteArray BuildCallsLocListing(const OutputLayout &layout)
{
    DayBytes days;
    QByteArray out;
    out.reserve(80 * layout.size()); // about 65 bytes a call in large databases
    AppendCallsLocListing(layout, 0, layout.size(), out, days);
    return out;
}

void WriteCallsLocListing(OutputPhase &phase, const OutputLayout &layout)
{
    // The save has its own memory of days: the outputs are built side by side.
    phase.saveInPieces(
        QStringLiteral("calls_loc.dbg"), layout.size(),
        [&layout, days = DayBytes()](int begin, int end, QByteArray &out) mutable {
            AppendCallsLocListing(layout, begin, end, out, days);
        },
        OutputMode::Text);
}
