// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class DayBytes;
class OutputLayout;
class OutputPhase;
struct LeftOutCount;

/// An N1MM+ call history file: in the local 8-bit encoding, comma-separated,
/// the first line naming the fields ("!!Order!!,Call,Loc1,UserText"), then
/// one line per call: the call, its best locator, and as user text the
/// second-best locator with its weight, where there is one, and the
/// last-seen date of the best: "DL1ABC,JO62QM,2nd JO62QN 3; seen 2026-05-04",
/// "OK1KPA,JO60LJ,seen 2026-05-14". No field holds a comma. A call whose
/// text or best locator FitsLoggerField() refuses is left out, and so is a
/// second-best locator it refuses (the user text then gives the date alone).

/// The first line of the file.
extern const char n1mmHistoryHeader[];

/// The date format of the user text: days is to be made with it.
QString N1mmHistoryDateFormat();

/// Appends the lines of calls [begin, end) of the layout to out, the header
/// first where begin is 0, and counts what is left out; days (of
/// N1mmHistoryDateFormat()) is the calling thread's own.
void AppendN1mmHistory(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                       LeftOutCount &leftOut);
/// The whole file.
QByteArray BuildN1mmHistory(const OutputLayout &layout);

/// Announces and writes the file fileName (relative to the working
/// directory); leftOut is filled by the save and whole once the phase has
/// finished.
void WriteN1mmHistory(OutputPhase &phase, const OutputLayout &layout, const QString &fileName,
                      LeftOutCount &leftOut);
