// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/vhfdtb.h"

#include "readers/vhfdtb.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"

#include <cstring>

namespace {

/// The Latin-1 bytes of text (QString::toLatin1(): "?" for what Latin-1
/// lacks), at most size of them, into field.
void PutLatin1(char *field, QStringView text, int size)
{
    const int count = qMin(int(text.size()), size);
    for (int i = 0; i < count; ++i) {
        const ushort c = text.at(i).unicode();
        field[i] = c < 0x100 ? char(c) : '?';
    }
}

/// A call marked with a trailing blank (the record of a second locator) is
/// written as if the blank belonged to it.
enum class CallMark { None, TrailingBlank };

/// Appends one record of call and locator (in Latin-1, cut to their fields)
/// with monthYear.
void AppendRecord(QByteArray &out, QStringView call, QStringView locator, CallMark mark, const QByteArray &monthYear)
{
    using namespace VhfDtb;
    char record[recordSize] = {};
    PutLatin1(record + callOffset, call, callSize);
    if (mark == CallMark::TrailingBlank && call.size() < callSize)
        record[callOffset + call.size()] = ' ';
    PutLatin1(record + locatorOffset, locator, locatorSize);
    std::memcpy(record + dateOffset, monthYear.constData(), size_t(qMin(monthYear.size(), dateSize)));
    out.append(record, recordSize);
}

} // namespace

QByteArray VhfDtbMonthYear(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("MMyy")).toLatin1();
}

void AppendVhfDtb(const OutputLayout &layout, int begin, int end, const QByteArray &monthYear, QByteArray &out)
{
    for (int i = begin; i < end; ++i) {
        const QStringView call = layout.callAt(i);
        const RankedLocatorList ranked = layout.locatorsAt(i);
        AppendRecord(out, call, ranked.at(0).locator, CallMark::None, monthYear);
        if (ranked.size() >= 2)
            AppendRecord(out, call, ranked.at(1).locator, CallMark::TrailingBlank, monthYear);
    }
}

QByteArray BuildVhfDtb(const OutputLayout &layout, const QDateTime &moment)
{
    QByteArray out;
    out.reserve(2 * VhfDtb::recordSize * layout.size());
    AppendVhfDtb(layout, 0, layout.size(), VhfDtbMonthYear(moment), out);
    return out;
}

void WriteVhfDtb(OutputPhase &phase, const OutputLayout &layout, const QDateTime &moment)
{
    phase.print("Generate WinTest vhf.dtb\n");
    phase.saveInPieces(
        QStringLiteral("vhf.dtb"), layout.size(),
        [&layout, monthYear = VhfDtbMonthYear(moment)](int begin, int end, QByteArray &out) {
            AppendVhfDtb(layout, begin, end, monthYear, out);
        },
        OutputMode::Binary);
}
