// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDateTime>

class OutputLayout;
class OutputPhase;

/// WinTest's VHF database "vhf.dtb" (the record layout is the reader's,
/// readers/vhfdtb.h): every call with its first and, where it has more, its
/// second-ranked locator, the call of the second record followed by a blank,
/// each record dated with the month and year of the run.

/// "MMyy" of moment, as every record of a run carries it.
QByteArray VhfDtbMonthYear(const QDateTime &moment);

/// Appends the records of calls [begin, end) of the layout to out;
/// monthYear is VhfDtbMonthYear() of the run.
void AppendVhfDtb(const OutputLayout &layout, int begin, int end, const QByteArray &monthYear, QByteArray &out);
/// The whole file, dated with moment.
QByteArray BuildVhfDtb(const OutputLayout &layout, const QDateTime &moment);

/// Announces and writes "vhf.dtb" in the working directory, dated with moment.
void WriteVhfDtb(OutputPhase &phase, const OutputLayout &layout, const QDateTime &moment);
