#include "database/ordering.h"

bool CallBefore(const CallEntry &a, const CallEntry &b)
{
    return a.call < b.call;
}

bool LocatorBefore(const LocatorEntry &a, const LocatorEntry &b)
{
    return (b.stamp < a.stamp && a.weight == 1) || b.weight < a.weight;
}

QVector<LocatorEntry> RankedLocators(const CallEntry &entry)
{
    QVector<LocatorEntry> ranked = entry.locators;
    // One locator needs no sorting, and then no copy either.
    if (ranked.size() > 1)
        SortRange(ranked, LocatorBefore);
    return ranked;
}
