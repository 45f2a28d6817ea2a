// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QVector>

#include <functional>

class QIODevice;

/// One entry of the field catalogue: an ADIF field with its display texts.
struct AdifField
{
    QString name; ///< always upper case, e.g. "CALL"
    QString label; ///< short display label
    QString description; ///< longer text, may be empty
};

/// One value a record holds.
struct AdifCell
{
    int position; ///< in the catalogue
    int offset; ///< where the value starts in the record's text
    int length;
};
Q_DECLARE_TYPEINFO(AdifCell, Q_PRIMITIVE_TYPE);

/// One record (one QSO). Position i of its values belongs to catalogue entry
/// i. The value list has a length (ValueCount()), which may be shorter than
/// the catalogue; every position without a value, inside or beyond that
/// length, reads as the empty string.
///
/// A record is a sparse list: only the values that were set are held, as
/// cells (position, and where the value lies in the record's text) in
/// increasing order of position, with all their characters one after another
/// in one string. A file that names thousands of fields once would otherwise
/// give every later record thousands of empty values, and memory would grow
/// with fields times records instead of with what the file holds.
struct AdifRecord
{
    bool selected = false;
    int id = -1; ///< 1, 2, 3, ... once stored; 0 or below: not stored yet

    using Cell = AdifCell;

    /// Not selected, no id, count empty values.
    void InitRecord(int count);
    /// Sets the value at position, growing the list with empty values as far as needed.
    void SetValue(int position, const QString &value);
    /// The value at position; the empty string where the record has none.
    QString Value(int position) const { return ValueView(position).toString(); }
    /// The same without a copy, valid while the record is not changed.
    QStringView ValueView(int position) const;
    /// The length of the value list: InitRecord's count, or one past the
    /// highest position set since, whichever is more.
    int ValueCount() const { return m_count; }

    /// The values that were set, k = 0 .. StoredCount() - 1 in increasing
    /// order of their positions.
    int StoredCount() const { return m_cells.size(); }
    int StoredPosition(int k) const { return m_cells.at(k).position; }
    QStringView StoredValue(int k) const;

private:
    friend class AdifRecordBuilder;

    /// Index in m_cells of the cell of position, or -1.
    int CellOf(int position) const;

    QVector<Cell> m_cells; ///< by increasing position, each position once
    QString m_text; ///< the characters of the values, cell after cell
    int m_count = 0;
};

Q_DECLARE_TYPEINFO(AdifField, Q_MOVABLE_TYPE);
Q_DECLARE_TYPEINFO(AdifRecord, Q_MOVABLE_TYPE);

/// Called with the number of records read or written so far.
using AdifProgress = std::function<void(int)>;

/// An in-memory table of ADIF records whose columns are the entries of a
/// field catalogue, with record ids, a selection, a modified flag and change
/// signals.
///
/// The catalogue only grows: a field's position never changes, so it can be
/// used as the column index of every record. Record ids are handed out in
/// increasing order and records are never reordered, so the record list is
/// always ordered by id.
class AdifDataBase : public QObject
{
    Q_OBJECT

public:
    AdifDataBase();
    ~AdifDataBase() override;

    // The field catalogue.

    /// Appends the fields listed in a catalogue file, one per line:
    /// "NAME [label [description ...]]". A file that cannot be opened changes nothing.
    void LoadFieldCatalogue(int reserved, const QString &path);
    /// Position of the first field of that name, compared without regard to
    /// case; a name not listed yet is appended first. Never negative.
    int FieldIndex(const QString &name);
    /// Appends a field (name stored upper case) and returns its position.
    int AddField(const QString &name, const QString &label, const QString &description);
    int FieldCount() const { return m_fields.size(); }
    QString FieldName(int position) const;
    QString FieldLabel(int position) const;
    QString FieldDescription(int position) const;

    // The records.

    /// Removes every record and starts the ids again at 1; the catalogue stays. No signal.
    void ClearRecords();
    /// Replaces the catalogue with a copy of another store's; no record
    /// changes. With it, a file can be read into a store of its own ahead of
    /// time, just as this store would read it now.
    void CopyFieldCatalogue(const AdifDataBase &from);
    /// Empties the store (ClearRecords) and takes over the catalogue and the
    /// records of a store that ReadAdifFile() filled with the given result
    /// after CopyFieldCatalogue() from this one, as if this store had read
    /// the file itself, its signals included. The other store is left empty.
    void TakeOverRead(AdifDataBase &other, int readResult);
    /// The number of all records, whatever the selection.
    int RecordCount() const { return m_records.size(); }
    /// A copy of the record at position n, or while a selection is active of
    /// the n-th selected record; an empty record (id -1) where there is none.
    AdifRecord GetRecord(int n) const;
    /// Appends a record without id under the next id, or replaces the record
    /// with the same id (nothing is stored if there is none). Returns the
    /// number of records minus one.
    int StoreRecord(const AdifRecord &record);
    /// Removes the record with that id, if there is one.
    void RemoveRecord(int id);
    /// Sets one value of record n (mapped like GetRecord), if n names a record.
    void SetRecordValue(int n, int position, const QString &value);
    /// Position in the record list of the record with that id, or -1.
    int RecordIndexOfId(int id) const;

    // The selection.

    /// The selected flag of the record at that position of the record list.
    bool IsSelected(int position) const;
    /// The number of selected records while a selection is active, else 0.
    int SelectedCount() const;
    bool IsSelectionActive() const { return m_selectionActive; }
    void ClearSelection();
    void Deselect(int id);
    /// Selects the records whose value at position matches a wildcard pattern
    /// (* ? [set]) as a whole, without regard to case; with contains the
    /// pattern may match anywhere in the value.
    void SelectMatching(int position, const QString &pattern, bool contains);
    void DeselectMatching(int position, const QString &pattern, bool contains);
    /// Selects the records whose QSO_DATE and TIME_ON lie strictly between
    /// from and to. A record without a valid date and time is never inside.
    void SelectDateRange(const QDateTime &from, const QDateTime &to);
    void DeselectDateRange(const QDateTime &from, const QDateTime &to);

    // Flags and the stored date range.

    /// Switches the signals on or off and returns the previous setting.
    bool SetSignalsEnabled(bool on);
    bool SignalsEnabled() const { return m_signalsEnabled; }
    /// True when records were changed since the last catalogue load or ClearRecords.
    bool IsModified() const { return m_modified; }
    /// Stores a date range for the application; the store itself does not use it.
    void SetDateRange(const QDateTime &from, const QDateTime &to);
    bool HasDateRange() const { return m_dateRangeSet; }
    QDateTime DateRangeFrom() const { return m_rangeFrom; }
    QDateTime DateRangeTo() const { return m_rangeTo; }

    /// Back to the state of a new store: no fields, no records, no range,
    /// signals on, the other flags off. No signal.
    void Reset();

    // Files.

    /// Reads an ADIF file and adds its records. -1 when the file cannot be
    /// opened, else 0, whatever the file held. reserved is not used.
    int ReadAdifFile(const QString &path, void *reserved, const AdifProgress &progress);
    /// The same, reading a device open for reading up to its end.
    int ReadAdifFile(QIODevice &device, const AdifProgress &progress);
    /// Writes the records (or only the selected ones) as an ADIF file that
    /// replaces any file of that name. -1 when the file cannot be written, else 0.
    int WriteAdifFile(const QString &path, int lineWidth, bool onlySelected,
                      const AdifProgress &progress) const;
    /// The same, writing to a device open for writing.
    int WriteAdifFile(QIODevice &device, int lineWidth, bool onlySelected,
                      const AdifProgress &progress) const;

signals:
    void DataChanged();
    void AdifChanged();
    void SelectionChanged();

private:
    int PositionOfRecord(int n) const;
    void MarkMatching(int position, const QString &pattern, bool contains, bool select);
    void MarkDateRange(const QDateTime &from, const QDateTime &to, bool select);
    void EmitIfEnabled(void (AdifDataBase::*signal)());

    QVector<AdifField> m_fields;
    /// Folded name to the first field of that name, so that lookups do not
    /// walk the catalogue.
    QHash<QVector<uint>, int> m_fieldIndex;
    /// Names as callers spelled them to their position: a log repeats the same
    /// few spellings in every record.
    QHash<QString, int> m_lookupCache;

    QVector<AdifRecord> m_records;
    QDateTime m_rangeFrom;
    QDateTime m_rangeTo;
    bool m_selectionActive = false;
    bool m_signalsEnabled = true;
    bool m_modified = false;
    bool m_dateRangeSet = false;
    int m_lastId = 0;
};

/// The process-wide store that the ADIF log import reads each file into.
extern AdifDataBase AdifStore;
