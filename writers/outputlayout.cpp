// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "writers/outputlayout.h"

#include "database/locatororder.h"

#include <algorithm>

namespace {

/// How many calls ahead the layout asks for what it will read.
constexpr int prefetchDistance = 16;

} // namespace

OutputLayout::OutputLayout(CallList &calls)
{
    calls.sortByCall();
    m_entries.reserve(calls.size());
    m_locators.reserve(calls.size() + calls.size() / 2);
    // A short ASCII call or locator is known whole by its number: its text
    // is written from that and not read. The sorted list has the numbers of
    // its calls at hand; the locators have theirs.
    const QVector<quint64> &packedCalls = calls.packedCalls();
    const bool callsPacked = packedCalls.size() == calls.size();
    for (int k = 0; k < calls.size(); ++k) {
        // The calls and locators lie all over memory: what the next calls
        // will read is asked for ahead, the texts among it once the locators
        // themselves have had time to come.
        if (k + 2 * prefetchDistance < calls.size()) {
            if (!callsPacked || packedCalls.at(k + 2 * prefetchDistance) == 0)
                calls.prefetchCall(k + 2 * prefetchDistance);
            calls.prefetchLocators(k + 2 * prefetchDistance);
        }
        if (k + prefetchDistance < calls.size()) {
            for (const LocatorEntry &locator : calls.at(k + prefetchDistance).locators) {
                if (locator.packed == 0)
                    __builtin_prefetch(DataBlockOf(locator.locator));
            }
        }
        // The locators are laid out as they are and ranked there, by the same
        // procedure and order as RankedLocators(): the same result, without
        // a copy of the call's own locators.
        const CallEntry &entry = calls.at(k);
        const int first = m_locators.size();
        const int count = entry.locators.size();
        const quint64 packedCall = callsPacked ? packedCalls.at(k) : 0;
        m_entries.append(Entry { packedCall != 0 ? keepText(packedCall) : keepText(entry.call), first, count });
        for (const LocatorEntry &locator : entry.locators)
            m_locators.append(RankedLocator { locator.packed != 0 ? keepText(locator.packed) : keepText(locator.locator),
                                              locator.weight, locator.stamp, locator.date });
        if (count > 1) {
            RankedLocator *const ranked = m_locators.data() + first;
            SortRange(ranked, ranked + count, LocatorBefore<RankedLocator>);
        }
    }
}

QChar *OutputLayout::textRoom(int size)
{
    constexpr int blockSize = 1 << 16;
    if (size > m_textFree) {
        // A text longer than a block gets a block of its own size.
        const int newBlock = qMax(blockSize, size);
        m_text.emplace_back(new QChar[std::size_t(newBlock)]);
        m_textNext = m_text.back().get();
        m_textFree = newBlock;
    }
    QChar *const at = m_textNext;
    m_textNext += size;
    m_textFree -= size;
    return at;
}

QStringView OutputLayout::keepText(QStringView text)
{
    const int size = int(text.size());
    QChar *const at = textRoom(size);
    std::copy(text.begin(), text.end(), at);
    return QStringView(at, size);
}

QStringView OutputLayout::keepText(quint64 packed)
{
    const int size = int(packed >> 56);
    QChar *const at = textRoom(size);
    for (int i = 0; i < size; ++i)
        at[i] = QChar(ushort((packed >> (7 * i)) & 0x7f));
    return QStringView(at, size);
}
