// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "database/calldatabase.h"

#include <QDateTime>
#include <QStringView>
#include <QVector>

#include <memory>
#include <vector>

/// One locator of a call as the outputs list it. Its text lies, with the
/// text of every other call and locator, in the layout's own memory.
struct RankedLocator
{
    QStringView locator; ///< upper case, simplified
    int weight = 0;
    qint64 stamp = 0; ///< date as milliseconds since the epoch
    QDateTime date;
};
// Its parts may be moved in memory as bytes, so that the layout grows without
// copying them one by one.
Q_DECLARE_TYPEINFO(RankedLocator, Q_MOVABLE_TYPE);

/// The locators of one call in the locator order.
class RankedLocatorList
{
public:
    RankedLocatorList(const RankedLocator *first, int count)
        : m_first(first)
        , m_count(count)
    {
    }

    int size() const { return m_count; }
    const RankedLocator &at(int i) const
    {
        Q_ASSERT(i >= 0 && i < m_count);
        return m_first[i];
    }
    const RankedLocator *begin() const { return m_first; }
    const RankedLocator *end() const { return m_first + m_count; }

private:
    const RankedLocator *m_first;
    int m_count;
};

/// The database as every output lists it: the calls in the call order, each
/// with its locators in the locator order (as RankedLocators() gives them),
/// texts included, laid out once in memory of its own, in list order.
///
/// Every output walks the whole database. The calls, their locators and their
/// texts lie wherever the merging left them, and a large database does not
/// fit in the processor's caches: each output would wait for memory at every
/// call. Laid out once, the outputs read it front to back. It is made before
/// the first output starts and does not change afterwards, so the outputs,
/// each built on a thread of its own, may read it side by side.
class OutputLayout
{
public:
    /// Sorts calls by call for good (CallList::sortByCall) and lays them out.
    explicit OutputLayout(CallList &calls);
    OutputLayout(const OutputLayout &) = delete;
    OutputLayout &operator=(const OutputLayout &) = delete;

    int size() const { return m_entries.size(); }
    QStringView callAt(int i) const { return m_entries.at(i).call; }
    RankedLocatorList locatorsAt(int i) const
    {
        const Entry &entry = m_entries.at(i);
        return RankedLocatorList(m_locators.constData() + entry.first, entry.count);
    }

private:
    /// A call as laid out: its text, and where its ranked locators begin in
    /// m_locators and how many there are.
    struct Entry
    {
        QStringView call;
        int first;
        int count;
    };

    /// Room for size characters of text, which never moves.
    QChar *textRoom(int size);
    /// A copy of text there.
    QStringView keepText(QStringView text);
    /// The text of a PackShortAscii() number there.
    QStringView keepText(quint64 packed);

    QVector<Entry> m_entries;
    QVector<RankedLocator> m_locators;
    /// Blocks of text; a new one is begun when the last is full.
    std::vector<std::unique_ptr<QChar[]>> m_text;
    QChar *m_textNext = nullptr; ///< where the next text goes in the last block
    int m_textFree = 0; ///< room left there
};
