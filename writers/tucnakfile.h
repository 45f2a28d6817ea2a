// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class DayBytes;
class OutputLayout;
class OutputPhase;
struct LeftOutCount;

/// Tucnak's call/locator database ("tucnakcw" in its data directory): ASCII,
/// no header, one line per call and locator, "CALL LOCATOR yyyyMMdd", the
/// call left-aligned in 14 characters and the locator in 6, each followed by
/// a blank; the date is the last-seen date of that locator. Tucnak's own
/// lines go on with the bands the call was worked on, which gridcol does not
/// keep: its lines end after the date. Each call gets its best two locators,
/// as vhf.dtb takes them, best first. A call longer than 14 characters, a
/// locator longer than 6, and either with anything beyond ASCII or that
/// FitsLoggerField() refuses, is left out.

/// The widths of the call and the locator field.
constexpr int tucnakCallWidth = 14;
constexpr int tucnakLocatorWidth = 6;

/// The date format of the lines: days is to be made with it.
QString TucnakDateFormat();

/// Appends the lines of calls [begin, end) of the layout to out and counts
/// what is left out; days (of TucnakDateFormat()) is the calling thread's own.
void AppendTucnakFile(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                      LeftOutCount &leftOut);
/// The whole file.
QByteArray BuildTucnakFile(const OutputLayout &layout);

/// Announces and writes the file fileName (relative to the working
/// directory); leftOut is filled by the save and whole once the phase has
/// finished.
void WriteTucnakFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, LeftOutCount &leftOut);
