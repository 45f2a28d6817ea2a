// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adif/adifdatabase.h"

#include "base/datetext.h"

#include <QRegExp>

#include <algorithm>

AdifDataBase AdifStore;

void AdifRecord::InitRecord(int count)
{
    selected = false;
    id = -1;
    m_cells.clear();
    m_text.clear();
    m_count = qMax(count, 0);
}

int AdifRecord::CellOf(int position) const
{
    // A record has a few values: a scan beats a binary search there.
    if (m_cells.size() <= 16) {
        for (int k = 0; k < m_cells.size(); ++k) {
            const int at = m_cells.at(k).position;
            if (at >= position)
                return at == position ? k : -1;
        }
        return -1;
    }
    const auto it = std::lower_bound(m_cells.cbegin(), m_cells.cend(), position,
                                     [](const Cell &cell, int wanted) { return cell.position < wanted; });
    return it != m_cells.cend() && it->position == position ? int(it - m_cells.cbegin()) : -1;
}

void AdifRecord::SetValue(int position, const QString &value)
{
    if (position < 0)
        return;
    m_count = qMax(m_count, position + 1);
    // The cells and the text are made anew, with the value in its place among the others.
    QVector<Cell> cells;
    cells.reserve(m_cells.size() + 1);
    QString text;
    text.reserve(m_text.size() + value.size());
    const auto put = [&cells, &text](int at, QStringView characters) {
        cells.append(Cell { at, int(text.size()), int(characters.size()) });
        text.append(characters);
    };
    bool placed = false;
    for (int k = 0; k < m_cells.size(); ++k) {
        const int at = m_cells.at(k).position;
        if (!placed && at >= position) {
            put(position, value);
            placed = true;
        }
        if (at != position)
            put(at, StoredValue(k));
    }
    if (!placed)
        put(position, value);
    m_cells = cells;
    m_text = text;
}

QStringView AdifRecord::ValueView(int position) const
{
    const int k = CellOf(position);
    return k < 0 ? QStringView() : StoredValue(k);
}

QStringView AdifRecord::StoredValue(int k) const
{
    const Cell &cell = m_cells.at(k);
    return QStringView(m_text.constData() + cell.offset, cell.length);
}

AdifDataBase::AdifDataBase() = default;

AdifDataBase::~AdifDataBase() = default;

void AdifDataBase::EmitIfEnabled(void (AdifDataBase::*signal)())
{
    if (m_signalsEnabled)
        (this->*signal)();
}

bool AdifDataBase::SetSignalsEnabled(bool on)
{
    const bool previous = m_signalsEnabled;
    m_signalsEnabled = on;
    return previous;
}

void AdifDataBase::ClearRecords()
{
    m_records.clear();
    m_selectionActive = false;
    m_modified = false;
    m_lastId = 0;
}

void AdifDataBase::CopyFieldCatalogue(const AdifDataBase &from)
{
    m_fields = from.m_fields;
    m_fieldIndex = from.m_fieldIndex;
    m_lookupCache = from.m_lookupCache;
}

void AdifDataBase::TakeOverRead(AdifDataBase &other, int readResult)
{
    ClearRecords();
    m_fields.swap(other.m_fields);
    m_fieldIndex.swap(other.m_fieldIndex);
    m_lookupCache.swap(other.m_lookupCache);
    m_records.swap(other.m_records);
    m_modified = other.m_modified;
    m_lastId = other.m_lastId;
    other.Reset();
    // What reading a file that could be opened signals.
    if (readResult == 0 && m_signalsEnabled) {
        emit AdifChanged();
        emit DataChanged();
        emit SelectionChanged();
    }
}

void AdifDataBase::Reset()
{
    m_fields.clear();
    m_fieldIndex.clear();
    m_lookupCache.clear();
    m_records.clear();
    m_rangeFrom = QDateTime();
    m_rangeTo = QDateTime();
    m_selectionActive = false;
    m_signalsEnabled = true;
    m_modified = false;
    m_dateRangeSet = false;
    m_lastId = 0;
}

int AdifDataBase::PositionOfRecord(int n) const
{
    if (n < 0)
        return -1;
    if (!m_selectionActive)
        return n < m_records.size() ? n : -1;
    for (int i = 0; i < m_records.size(); ++i) {
        if (m_records.at(i).selected && n-- == 0)
            return i;
    }
    return -1;
}

AdifRecord AdifDataBase::GetRecord(int n) const
{
    const int position = PositionOfRecord(n);
    return position < 0 ? AdifRecord() : m_records.at(position);
}

int AdifDataBase::RecordIndexOfId(int id) const
{
    if (id <= 0)
        return -1;
    // Ids grow with every appended record and records are never reordered.
    const auto it = std::lower_bound(m_records.cbegin(), m_records.cend(), id,
                                     [](const AdifRecord &r, int value) { return r.id < value; });
    if (it == m_records.cend() || it->id != id)
        return -1;
    return int(it - m_records.cbegin());
}

int AdifDataBase::StoreRecord(const AdifRecord &record)
{
    if (record.id <= 0) {
        AdifRecord stored = record;
        stored.id = ++m_lastId;
        m_records.append(stored);
    } else {
        const int position = RecordIndexOfId(record.id);
        if (position >= 0)
            m_records[position] = record;
    }
    m_modified = true;
    EmitIfEnabled(&AdifDataBase::DataChanged);
    return m_records.size() - 1;
}

void AdifDataBase::RemoveRecord(int id)
{
    const int position = RecordIndexOfId(id);
    if (position >= 0)
        m_records.remove(position);
    m_modified = true;
    EmitIfEnabled(&AdifDataBase::DataChanged);
}

void AdifDataBase::SetRecordValue(int n, int position, const QString &value)
{
    const int index = PositionOfRecord(n);
    if (index < 0)
        return;
    m_records[index].SetValue(position, value);
    m_modified = true;
    EmitIfEnabled(&AdifDataBase::DataChanged);
}

bool AdifDataBase::IsSelected(int position) const
{
    return position >= 0 && position < m_records.size() && m_records.at(position).selected;
}

int AdifDataBase::SelectedCount() const
{
    if (!m_selectionActive)
        return 0;
    return int(std::count_if(m_records.cbegin(), m_records.cend(),
                             [](const AdifRecord &r) { return r.selected; }));
}

void AdifDataBase::ClearSelection()
{
    m_selectionActive = false;
    for (AdifRecord &record : m_records)
        record.selected = false;
    EmitIfEnabled(&AdifDataBase::SelectionChanged);
}

void AdifDataBase::Deselect(int id)
{
    const int position = RecordIndexOfId(id);
    if (position >= 0)
        m_records[position].selected = false;
    EmitIfEnabled(&AdifDataBase::SelectionChanged);
}

void AdifDataBase::MarkMatching(int position, const QString &pattern, bool contains, bool select)
{
    const QString wildcard = contains ? QLatin1Char('*') + pattern + QLatin1Char('*') : pattern;
    const QRegExp matcher(wildcard, Qt::CaseInsensitive, QRegExp::Wildcard);
    m_selectionActive = true;
    for (AdifRecord &record : m_records) {
        if (matcher.exactMatch(record.Value(position)))
            record.selected = select;
    }
    EmitIfEnabled(&AdifDataBase::SelectionChanged);
}

void AdifDataBase::SelectMatching(int position, const QString &pattern, bool contains)
{
    MarkMatching(position, pattern, contains, true);
}

void AdifDataBase::DeselectMatching(int position, const QString &pattern, bool contains)
{
    MarkMatching(position, pattern, contains, false);
}

void AdifDataBase::MarkDateRange(const QDateTime &from, const QDateTime &to, bool select)
{
    m_selectionActive = true;
    const int datePosition = FieldIndex(QStringLiteral("QSO_DATE"));
    const int timePosition = FieldIndex(QStringLiteral("TIME_ON"));
    DateTextParser moments(QStringLiteral("yyyyMMdd HHmm"));
    for (AdifRecord &record : m_records) {
        const QString text
            = record.Value(datePosition) + QLatin1Char(' ') + record.Value(timePosition).left(4);
        const QDateTime moment = moments.parse(text);
        if (moment.isValid() && moment > from && moment < to)
            record.selected = select;
    }
    EmitIfEnabled(&AdifDataBase::SelectionChanged);
}

void AdifDataBase::SelectDateRange(const QDateTime &from, const QDateTime &to)
{
    MarkDateRange(from, to, true);
}

void AdifDataBase::DeselectDateRange(const QDateTime &from, const QDateTime &to)
{
    MarkDateRange(from, to, false);
}

void AdifDataBase::SetDateRange(const QDateTime &from, const QDateTime &to)
{
    m_rangeFrom = from;
    m_rangeTo = to;
    m_dateRangeSet = true;
}
