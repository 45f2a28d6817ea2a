#pragma once

#include "database/calldatabase.h"

#include <QtAlgorithms>

/// Call order: by the text of the call, UTF-16 code unit by code unit.
bool CallBefore(const CallEntry &a, const CallEntry &b);

/// Locator order: heavier first, and a locator of weight exactly 1 before any
/// with an earlier date. The second clause makes this no strict weak order, so
/// the result depends on the exact sorting procedure and the input order.
bool LocatorBefore(const LocatorEntry &a, const LocatorEntry &b);
/// The same order for locators as the outputs list them.
bool RankedLocatorBefore(const RankedLocator &a, const RankedLocator &b);

/// Sorts a whole list in place with Qt's qSort. Its quicksort is the procedure
/// the outputs are defined by: since the locator order is not a strict weak
/// order, any other algorithm would write the locators of some calls in a
/// different order.
template<typename Iterator, typename Before>
void SortRange(Iterator begin, Iterator end, Before before)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    qSort(begin, end, before);
    QT_WARNING_POP
}

template<typename List, typename Before>
void SortRange(List &list, Before before)
{
    SortRange(list.begin(), list.end(), before);
}

/// A copy of the entry's locators in the locator order, as every output lists them.
QVector<LocatorEntry> RankedLocators(const CallEntry &entry);
