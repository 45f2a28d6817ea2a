#include "database/ordering.h"

bool CallBefore(const CallEntry &a, const CallEntry &b)
{
    return a.call < b.call;
}

namespace {

bool RanksBefore(qint64 aStamp, int aWeight, qint64 bStamp, int bWeight)
{
    return (bStamp < aStamp && aWeight == 1) || bWeight < aWeight;
}

} // namespace

bool LocatorBefore(const LocatorEntry &a, const LocatorEntry &b)
{
    return RanksBefore(a.stamp, a.weight, b.stamp, b.weight);
}

bool RankedLocatorBefore(const RankedLocator &a, const RankedLocator &b)
{
    return RanksBefore(a.stamp, a.weight, b.stamp, b.weight);
}

QVector<LocatorEntry> RankedLocators(const CallEntry &entry)
{
    QVector<LocatorEntry> ranked = entry.locators;
    // One locator needs no sorting, and then no copy either.
    if (ranked.size() > 1)
        SortRange(ranked, LocatorBefore);
    return ranked;
}
