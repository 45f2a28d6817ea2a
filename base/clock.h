// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>

/// The program's one source of "now".
///
/// A run takes its moment once, at the first question, and every record dated
/// "now" gets that same moment: records read a few milliseconds apart must not
/// rank differently, and asking the system clock per record is slow. Tests and
/// the environment variable GRIDCOL_NOW fix the moment instead. The moment is
/// taken on the main thread before any reader starts one of its own; a thread
/// that needs it is handed it.
namespace Clock {

QDateTime Now();
/// Fixes "now" for the rest of the run (or until the next call).
void SetNow(const QDateTime &moment);
/// Forgets a fixed moment; the next Now() reads the system clock again.
void Reset();

/// The local date and time at this very moment, read afresh at every call:
/// what a file records as the time it was written (the header of an ADIF
/// file), where the run's one "now" would show the same minute for two
/// writes a minute apart. Tests fix it with setWallTime().
QDateTime WallTime();
/// Fixes WallTime() from now on; an invalid date-time goes back to the system clock.
void SetWallTime(const QDateTime &moment);

/// Reads GRIDCOL_NOW (ISO 8601 local date-time) when it is set and valid.
/// Returns false when the variable is set but cannot be read.
[[nodiscard]] bool SetNowFromEnvironment();

} // namespace Clock
