// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class DayBytes;
class OutputLayout;
class OutputPhase;

/// gridcol's own database "calls_loc.dat", which the next run reads back: one
/// line "CALL,LOCATOR,dd.MM.yyyy,WEIGHT" per call and locator, calls in the
/// call order, each call's locators in the locator order.

/// Appends the lines of calls [begin, end) of the layout to out; days is the
/// calling thread's own.
void AppendCallsLocDat(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days);
/// The whole file.
QByteArray BuildCallsLocDat(const OutputLayout &layout);

/// Announces and writes "calls_loc.dat" in the working directory.
void WriteCallsLocDat(OutputPhase &phase, const OutputLayout &layout);
