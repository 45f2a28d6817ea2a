// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

class DayBytes;
class OutputLayout;
class OutputPhase;

/// The database listing "calls_loc.dbg" for the user: each call with all its
/// ranked locators, their weights and last-seen dates.

/// Appends the lines of calls [begin, end) of the layout to out; days is the
/// calling thread's own.
void AppendCallsLocListing(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days);
/// The whole listing.
QByteArray BuildCallsLocListing(const OutputLayout &layout);

/// Writes "calls_loc.dbg" in the working directory; it has no console line.
void WriteCallsLocListing(OutputPhase &phase, const OutputLayout &layout);
