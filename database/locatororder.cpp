// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "database/locatororder.h"

QVector<LocatorEntry> RankedLocators(const CallEntry &entry)
{
    QVector<LocatorEntry> ranked = entry.locators;
    // One locator needs no sorting, and then no copy either.
    if (ranked.size() > 1)
        SortRange(ranked, LocatorBefore<LocatorEntry>);
    return ranked;
}
