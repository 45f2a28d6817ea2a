// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "testsupport.h"

#include <QBuffer>
#include <QHash>
#include <QTemporaryDir>

/*
 * The ADIF record store: its records, its operations and signals as
 * scripted rows, and a file read ahead into a store of its own.
 */

namespace {

/// Runs store operations separated by blanks and returns, separated by
/// blanks, what StoreRecord, SetSignalsEnabled and FieldIndex answered:
///   +C=A;B=X  a new record (as Store() writes them)   -2  RemoveRecord(2)
///   ~2  Deselect(2)        @1.4=X  SetRecordValue(1, 4, X)
///   f:NAME  FieldIndex(NAME)   a:NAME  AddField(NAME, NAME, "")
///   sel:P has:P desel:P deshas:P  (De)SelectMatching on position 0, whole value or anywhere
///   in out  (De)SelectDateRange from 01.05.2023 00:00 to 02.05.2023 00:00
///   range  SetDateRange(01.05.2023, 02.05.2023)      none clear reset off on
QString Run(AdifDataBase &store, const QString &script)
{
    QStringList results;
    const QDateTime from = Day("01.05.2023 00:00");
    const QDateTime to = Day("02.05.2023 00:00");
    for (const QString &op : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString arg = op.section(QLatin1Char(':'), 1);
        const QString where = op.mid(1).section(QLatin1Char('='), 0, 0);
        if (op.startsWith(QLatin1Char('+')))
            results << Store(store, op.mid(1));
        else if (op.startsWith(QLatin1Char('-')))
            store.RemoveRecord(op.mid(1).toInt());
        else if (op.startsWith(QLatin1Char('~')))
            store.Deselect(op.mid(1).toInt());
        else if (op.startsWith(QLatin1Char('@')))
            store.SetRecordValue(where.section(QLatin1Char('.'), 0, 0).toInt(),
                                 where.section(QLatin1Char('.'), 1).toInt(), op.section(QLatin1Char('='), 1));
        else if (op.startsWith(QLatin1String("a:")))
            results << QString::number(store.AddField(arg, arg, QString()));
        else if (op.startsWith(QLatin1String("f:")))
            results << QString::number(store.FieldIndex(arg));
        else if (op.startsWith(QLatin1String("sel:")) || op.startsWith(QLatin1String("has:")))
            store.SelectMatching(0, arg, op.startsWith(QLatin1Char('h')));
        else if (op.startsWith(QLatin1String("desel:")) || op.startsWith(QLatin1String("deshas:")))
            store.DeselectMatching(0, arg, op.startsWith(QLatin1String("desh")));
        else if (op == QLatin1String("off") || op == QLatin1String("on"))
            results << QString::number(store.SetSignalsEnabled(op == QLatin1String("on")));
        else if (op == QLatin1String("in"))
            store.SelectDateRange(from, to);
        else if (op == QLatin1String("out"))
            store.DeselectDateRange(from, to);
        else if (op == QLatin1String("range"))
            store.SetDateRange(Day("01.05.2023"), Day("02.05.2023"));
        else if (op == QLatin1String("none"))
            store.ClearSelection();
        else if (op == QLatin1String("clear"))
            store.ClearRecords();
        else if (op == QLatin1String("reset"))
            store.Reset();
        else
            results << QStringLiteral("unknown ") + op;
    }
    return results.join(QLatin1Char(' '));
}

} // namespace

class TestAdifDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void records_data() { AddRows("adifdatabase/records.tsv"); }

    void records()
    {
        // A record holds the values that were set, each at its position, and
        // reads as empty everywhere else; a copy keeps its values.
        QFETCH(QString, script);
        QFETCH(int, count);
        QFETCH(QString, stored);
        AdifRecord record;
        for (const QString &op : script.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            if (op.startsWith(QLatin1String("init:")))
                record.InitRecord(op.mid(5).toInt());
            else
                record.SetValue(op.section(QLatin1Char('='), 0, 0).toInt(), op.section(QLatin1Char('='), 1));
        }
        const AdifRecord copy = record;
        record.SetValue(0, QStringLiteral("changed"));
        QCOMPARE(copy.ValueCount(), count);
        QStringList cells;
        QHash<int, QString> values;
        for (int k = 0; k < copy.StoredCount(); ++k) {
            values.insert(copy.StoredPosition(k), copy.StoredValue(k).toString());
            cells << QStringLiteral("%1=%2").arg(copy.StoredPosition(k)).arg(copy.StoredValue(k));
        }
        QCOMPARE(cells.join(QLatin1Char(' ')), stored);
        for (int p = -2; p < count + 3; ++p)
            QCOMPARE(copy.Value(p), values.value(p));
    }

    void operations_data() { AddRows("adifdatabase/operations.tsv"); }

    void operations()
    {
        QFETCH(QString, script);
        QFETCH(QString, outcome);

        AdifDataBase store;
        SignalCounts spy(store);
        const QString results = Run(store, script);
        QCOMPARE(results + QStringLiteral(" | ") + State(store) + QStringLiteral(" | ") + spy.text(), outcome);

        // Past either end GetRecord gives an empty record and IsSelected false.
        int shown = 0;
        while (store.GetRecord(shown).id > 0)
            ++shown;
        for (int n : { -1, shown }) {
            const AdifRecord none = store.GetRecord(n);
            QVERIFY(none.id == -1 && !none.selected && none.Value(0).isEmpty());
        }
        QVERIFY(!store.IsSelected(-1) && !store.IsSelected(store.RecordCount()));
        QCOMPARE(store.SelectedCount(), store.IsSelectionActive() ? shown : 0);
        // Without a selection every id is found at its position, and no other id is found.
        for (int id = 0; id <= 8 && !store.IsSelectionActive(); ++id) {
            int position = -1;
            for (int n = 0; n < store.RecordCount() && position < 0; ++n)
                position = store.GetRecord(n).id == id ? n : -1;
            QCOMPARE(store.RecordIndexOfId(id), position);
        }
    }

    void progressAndSignals()
    {
        AdifStore.AddField(QStringLiteral("FREQ"), QStringLiteral("Freq"), QString());
        QStringList events;
        QObject receiver; // disconnects when the test ends, however it ends
        connect(&AdifStore, &AdifDataBase::DataChanged, &receiver, [&] { events << "DataChanged"; });
        connect(&AdifStore, &AdifDataBase::AdifChanged, &receiver, [&] { events << "AdifChanged"; });
        connect(&AdifStore, &AdifDataBase::SelectionChanged, &receiver, [&] { events << "SelectionChanged"; });
        const AdifProgress progress = [&](int stored) {
            events << QStringLiteral("progress %1 of %2").arg(stored).arg(AdifStore.RecordCount());
        };

        // Known fields keep their positions; each read adds records under new ids.
        Read(AdifStore, "<a:1>x<B:1>y<eor>\n<C:1>z<eor>\n<eor><D:1>cut", progress);
        QCOMPARE(events,
                 QStringList({ "progress 1 of 1", "progress 2 of 2", "progress 3 of 3", "AdifChanged", "DataChanged",
                               "SelectionChanged" }));
        QVERIFY(AdifStore.IsModified());
        events.clear();
        Read(AdifStore, "header without end", progress);
        QCOMPARE(events, QStringList({ "AdifChanged", "DataChanged", "SelectionChanged" }));

        // A file that cannot be read sends nothing and changes nothing.
        events.clear();
        QTemporaryDir dir;
        QCOMPARE(AdifStore.ReadAdifFile(dir.filePath(QStringLiteral("missing.adi")), nullptr, progress), -1);
        QCOMPARE(AdifStore.ReadAdifFile(dir.path(), nullptr, progress), -1);
        QBuffer closed;
        QCOMPARE(AdifStore.ReadAdifFile(closed, progress), -1);
        QCOMPARE(events, QStringList());

        // Switched off, the signals stay off.
        AdifStore.SetSignalsEnabled(false);
        Read(AdifStore, "<CALL:1>A<eor><freq:3>144<eor>");
        QCOMPARE(events, QStringList());
        QVERIFY(!AdifStore.SignalsEnabled());
        QCOMPARE(
            Parsed(AdifStore), QStringLiteral("[FREQ,A,B,C,D,CALL] 1|A=x|B=y / 2|C=z / 3 / 4|CALL=A / 5|FREQ=144"));
        QCOMPARE(
            AdifStore.FieldLabel(0) + AdifStore.FieldLabel(1) + AdifStore.FieldLabel(99), QStringLiteral("Freq[a]"));
    }

    void readAhead_data() { AddRows("adifdatabase/readAhead.tsv"); }

    void readAhead()
    {
        // A file read into a store of its own, started from the catalogue of the
        // store that then takes it over, leaves that store as if it had read the
        // file itself: catalogue, records, ids, flags and signals.
        QFETCH(QStringList, files);
        QFETCH(bool, signalsOn);
        const auto path = [](const QString &file) {
            return file == QLatin1String("-") ? logFolder + QStringLiteral("missing.adi") : logFolder + file;
        };
        AdifDataBase itself, taking;
        for (AdifDataBase *store : { &itself, &taking }) {
            store->LoadFieldCatalogue(0, QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues/mixed.txt"));
            store->SetSignalsEnabled(signalsOn);
            store->ReadAdifFile(path(files.first()), nullptr, nullptr);
            store->FieldIndex(QStringLiteral("GRIDSQUARE"));
        }
        const SignalCounts itselfSignals(itself), takingSignals(taking);
        for (const QString &file : files.mid(1)) {
            itself.ClearRecords();
            const int result = itself.ReadAdifFile(path(file), nullptr, nullptr);
            AdifDataBase ahead;
            ahead.CopyFieldCatalogue(taking);
            QCOMPARE(ahead.ReadAdifFile(path(file), nullptr, nullptr), result);
            taking.TakeOverRead(ahead, result);
            QCOMPARE(State(taking), State(itself));
            QCOMPARE(takingSignals.text(), itselfSignals.text());
            QCOMPARE(State(ahead), QString());
            itself.FieldIndex(QStringLiteral("CALL"));
            taking.FieldIndex(QStringLiteral("CALL"));
        }
    }
};

GRIDCOL_TEST_MAIN(TestAdifDatabase)
#include "tst_adifdatabase.moc"
