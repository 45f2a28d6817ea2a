// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/calldatabase.h"

#include <utility>

/// Locator order, for anything with a weight and a stamp (a date as
/// milliseconds since the epoch): heavier first, and a locator of weight
/// exactly 1 before any with an earlier date. The second clause makes this no
/// strict weak order, so the result depends on the exact sorting procedure
/// and the input order.
template<typename Locator>
bool LocatorBefore(const Locator &a, const Locator &b)
{
    return (b.stamp < a.stamp && a.weight == 1) || b.weight < a.weight;
}

/// Sorts a range in place by the quicksort the outputs are defined by: the
/// one Qt 5's qSort runs. Since the locator order is not a strict weak order,
/// any other procedure would write the locators of some calls in a different
/// order, so this one is followed step by step: the first, middle and last
/// items brought into order, the middle one taken as the pivot and parked at
/// the end, the items partitioned around it from both ends, the pivot put
/// between the parts; the left part is sorted the same way, the right part
/// next, in a loop.
template<typename Iterator, typename Before>
void SortRange(Iterator start, Iterator end, Before before)
{
    using std::swap;
    for (;;) {
        const auto span = end - start;
        if (span < 2)
            return;
        const Iterator last = end - 1;
        Iterator low = start;
        Iterator high = last - 1;
        const Iterator pivot = start + span / 2;

        if (before(*last, *start))
            swap(*last, *start);
        if (span == 2)
            return;
        if (before(*pivot, *start))
            swap(*pivot, *start);
        if (before(*last, *pivot))
            swap(*last, *pivot);
        if (span == 3)
            return;

        swap(*pivot, *last);
        while (low < high) {
            while (low < high && before(*low, *last))
                ++low;
            while (high > low && before(*last, *high))
                --high;
            if (low >= high)
                break;
            swap(*low, *high);
            ++low;
            --high;
        }
        if (before(*low, *last))
            ++low;
        swap(*last, *low);

        SortRange(start, low, before);
        start = low + 1;
    }
}

template<typename List, typename Before>
void SortRange(List &list, Before before)
{
    SortRange(list.begin(), list.end(), before);
}

/// A copy of the entry's locators in the locator order, as every output lists them.
QVector<LocatorEntry> RankedLocators(const CallEntry &entry);
