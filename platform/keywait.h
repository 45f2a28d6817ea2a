// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

/// The console's "has a key been pressed?" test, for the wait at the end of a run.
///
/// Returns true once a key press is pending on the console, without taking the
/// key from the input: it stays there for whatever reads the console next.
/// Waits at most timeoutMs milliseconds for one (a negative value waits as long
/// as it takes) instead of spinning. When standard input is not a terminal, or
/// is closed or at its end, there is no key to wait for and the answer is true
/// at once, so that scripts and scheduled runs never hang.
bool KeyPressPending(int timeoutMs);

/// Waits until KeyPressPending reports a key.
void WaitForKeyPress();
