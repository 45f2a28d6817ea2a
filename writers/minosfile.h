// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class DayBytes;
class OutputLayout;
class OutputPhase;
struct LeftOutCount;

/// A Minos archive call list (".csl"): in the local 8-bit encoding, no
/// header, one row per call and locator, every locator of each call, best
/// first: "CALL","LOCATOR","",WEIGHT,"yyyy/MM/dd;" (the third field empty,
/// the weight unquoted, the last-seen date followed by a semicolon). A call
/// or locator that FitsLoggerField() refuses is left out.

/// The date format of the rows: days is to be made with it.
QString MinosDateFormat();

/// Appends the rows of calls [begin, end) of the layout to out and counts
/// what is left out; days (of MinosDateFormat()) is the calling thread's own.
void AppendMinosFile(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                     LeftOutCount &leftOut);
/// The whole file.
QByteArray BuildMinosFile(const OutputLayout &layout);

/// Announces and writes the file fileName (relative to the working
/// directory); leftOut is filled by the save and whole once the phase has
/// finished.
void WriteMinosFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut);
