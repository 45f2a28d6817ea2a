// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class CallList;

/// Fills the process-wide database with count calls in no order, short and
/// long, a few beyond ASCII, and one call of 70000 characters, longer than
/// a block of the output layout's text; one to four locators each, of
/// several weights and of days up to two years before "now".
void FillDatabase(int count);

/// The database as text, a line per call: "CALL LOC weight dd.MM.yyyy ...",
/// each call's locators in their order, or sorted by locator with sortLocators.
QString DatabaseText(const CallList &database, bool sortLocators = false);
