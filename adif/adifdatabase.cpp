#include "adif/adifdatabase.h"

#include "database/datetext.h"

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
    const int count = m_cells.size();
    if (count <= 16) {
        const Cell *cells = m_cells.constData();
        for (int k = 0; k < count && cells[k].position <= position; ++k) {
            if (cells[k].position == position)
                return k;
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
    // Text that is replaced stays in m_text unused; once more than half of
    // it is unused, the record's text is packed anew.
    int unused = m_text.size();
    for (const Cell &cell : qAsConst(m_cells))
        unused -= cell.length;
    if (unused > 64 && 2 * unused > m_text.size()) {
        QString packed;
        packed.reserve(m_text.size() - unused);
        for (Cell &cell : m_cells) {
            const int offset = packed.size();
            packed.append(m_text.constData() + cell.offset, cell.length);
            cell.offset = offset;
        }
        m_text = packed;
    }
    const Cell cell { position, m_text.size(), value.size() };
    m_text.append(value);
    const int k = CellOf(position);
    if (k >= 0) {
        m_cells[k] = cell;
        return;
    }
    const auto at = std::lower_bound(
        m_cells.begin(), m_cells.end(), position, [](const Cell &c, int wanted) { return c.position < wanted; });
    m_cells.insert(at, cell);
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

QStringView SimplifiedView(QStringView text, QString &storage)
{
    const int size = text.size();
    if (size == 0)
        return text;
    const QChar *data = text.data();
    bool simplified = true;
    for (int i = 0; i < size; ++i) {
        const ushort u = data[i].unicode();
        // Printable ASCII, nearly every character, is never a space.
        if (u > ' ' && u < 0x7f)
            continue;
        // A space is kept only as a single blank between other characters.
        if (data[i].isSpace()
            && (u != ' ' || i == 0 || i == size - 1 || data[i + 1].isSpace())) {
            simplified = false;
            break;
        }
    }
    if (simplified)
        return text;
    storage = text.toString().simplified();
    return storage;
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
