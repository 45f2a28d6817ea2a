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

    void records_data();
    void records();
    void operations_data();
    void operations();
    void progressAndSignals();
    void readAhead_data();
    void readAhead();
};

void TestAdifDatabase::records_data()
{
    QTest::addColumn<QString>("script"); // "init:N" InitRecord(N), "P=value" SetValue(P, value); separated by "|"
    QTest::addColumn<int>("count"); // ValueCount()
    QTest::addColumn<QString>("stored"); // "P=value" of the stored values, in their order

    QTest::newRow("a new record holds nothing") << "" << 0 << "";
    QTest::newRow("in any order, stored by position") << "5=x|1=ab|3=" << 6 << "1=ab 3= 5=x";
    QTest::newRow("replaced in place, the others intact") << "1=abc|2=de|0=f|1=X|0=long" << 3 << "0=long 1=X 2=de";
    QTest::newRow("InitRecord sets the length") << "init:10|2=z" << 10 << "2=z";
    QTest::newRow("InitRecord empties the record") << "1=a|7=b|init:2" << 2 << "";
    QTest::newRow("a negative position sets nothing") << "-1=x|init:-3" << 0 << "";
    QTest::newRow("beyond the Basic Multilingual Plane") << "2=\xf0\x9f\x98\x80|0=J\xc3\xbcrgen" << 3
                                                         << "0=J\xc3\xbcrgen 2=\xf0\x9f\x98\x80";
}

void TestAdifDatabase::records()
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

void TestAdifDatabase::progressAndSignals()
{
    AdifStore.AddField(QStringLiteral("FREQ"), QStringLiteral("Freq"), QString());
    QStringList events;
    QObject receiver; // disconnects when the test ends, however it ends
    connect(&AdifStore, &AdifDataBase::DataChanged, &receiver, [&] { events << "DataChanged"; });
    connect(&AdifStore, &AdifDataBase::AdifChanged, &receiver, [&] { events << "AdifChanged"; });
    connect(&AdifStore, &AdifDataBase::SelectionChanged, &receiver, [&] { events << "SelectionChanged"; });
    const AdifProgress progress
        = [&](int stored) { events << QStringLiteral("progress %1 of %2").arg(stored).arg(AdifStore.RecordCount()); };

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
    QCOMPARE(Parsed(AdifStore), QStringLiteral("[FREQ,A,B,C,D,CALL] 1|A=x|B=y / 2|C=z / 3 / 4|CALL=A / 5|FREQ=144"));
    QCOMPARE(AdifStore.FieldLabel(0) + AdifStore.FieldLabel(1) + AdifStore.FieldLabel(99), QStringLiteral("Freq[a]"));
}

void TestAdifDatabase::readAhead_data()
{
    QTest::addColumn<QStringList>("files"); // read one after another; "-" cannot be opened
    QTest::addColumn<bool>("signalsOn");
    QTest::newRow("two real logs") << QStringList { "LU7HF.adi", "ei3kf_wsjtx_log.adi" } << true;
    QTest::newRow("fields of the second log unknown to the first")
        << QStringList { "qrz-snippet.adi", "f4myh-radio_logbook.adi", "EA5WA_total_sat.adi" } << true;
    QTest::newRow("signals off") << QStringList { "EA5WA_ULTIMS.ADI", "iu4pra_sample_log.adi" } << false;
    QTest::newRow("a file that cannot be opened") << QStringList { "LU7HF.adi", "-", "qrz-snippet.adi" } << true;
    QTest::newRow("the same log twice") << QStringList { "LU7HF.adi", "LU7HF.adi" } << true;
}

void TestAdifDatabase::readAhead()
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

void TestAdifDatabase::operations_data()
{
    QTest::addColumn<QString>("script");
    // What the operations answered | State() | how often DataChanged, AdifChanged, SelectionChanged were sent
    QTest::addColumn<QString>("outcome");

    const auto row = [](const char *name, const char *script, const char *outcome) {
        QTest::newRow(name) << QString::fromUtf8(script) << QString::fromUtf8(outcome);
    };
    row("ids count from 1", "+C=A +C=B +C=C", "0 1 2 | 1:A 2:B 3:C fields C modified | 3 1 0");
    row("id 0 is a record not stored yet", "+0:C=A +0:C=B", "0 1 | 1:A 2:B fields C modified | 2 1 0");
    row("an unknown id stores nothing, but is a change", "+C=A clear +C=B clear +7:C=X",
        "0 0 -1 | fields C modified | 3 1 0");
    row("a known id is replaced in place; the result is the last position", "+C=A +C=B +C=C +2:C=B2;E=new* +1:C=A1",
        "0 1 2 2 2 | 1:A1 2:B2,new 3:C marks -*- fields C,E modified | 5 2 0");
    row("clear empties records and selection, keeps the catalogue, sends nothing", "+CALL=A +CALL=B sel:A clear",
        "0 1 | fields CALL | 2 1 1");
    row("ids start again after clear", "+C=A +C=B clear +C=C", "0 1 0 | 1:C fields C modified | 3 1 0");
    row("a selection maps GetRecord to the selected records", "+C=A +C=B +C=C +C=D sel:[AC]",
        "0 1 2 3 | 1:A 3:C marks *-*- fields C active modified | 4 1 1");
    row("deselect by id", "+C=A +C=B +C=C +C=D sel:[AC] ~1 ~99",
        "0 1 2 3 | 3:C marks --*- fields C active modified | 4 1 3");
    row("clear the selection", "+C=A +C=B +C=C +C=D sel:[AC] none",
        "0 1 2 3 | 1:A 2:B 3:C 4:D fields C modified | 4 1 2");
    row("deselect matching keeps the others", "+B=2m +B=70cm +B=2m +B=23cm sel:*cm sel:2M deshas:c",
        "0 1 2 3 | 1:2m 3:2m marks *-*- fields B active modified | 4 1 3");
    row("deselecting alone makes the selection active", "+B=2m desel:2m",
        "0 | marks - fields B active modified | 1 1 1");
    row("remove; ids are not handed out twice", "+C=A +C=B +C=C +C=D -2 -2 -0 +C=E",
        "0 1 2 3 3 | 1:A 3:C 4:D 5:E fields C modified | 8 1 0");
    row("removing an unknown id is a change", "+C=A clear -7", "0 | fields C modified | 2 1 0");
    row("set a value of the n-th selected record", "+C=A +C=B +C=C sel:C @0.4=JO62QM @1.0=X none @3.0=X",
        "0 1 2 | 1:A 2:B 3:C,,,,JO62QM fields C modified | 4 1 2");
    row("set a value of the first record", "+C=A +C=B @0.1=X @0.0=Z", "0 1 | 1:Z,X 2:B fields C modified | 4 1 0");
    row("no signal while switched off", "off f:CALL f:BAND +CALL=A @0.0=B sel:B ~1 none -1 on f:band f:mode",
        "1 0 1 0 0 1 2 | fields CALL,BAND,MODE modified | 0 1 0");
    row("the first field of a name, found without regard to case; a new name is added",
        "a:Call a:gridsquare a:call f:GridSquare f:CALL f:call f:my_rig f:My_Rig f:gridsquare f: f:",
        "0 1 2 1 0 0 3 3 1 4 4 | fields CALL,GRIDSQUARE,CALL,MY_RIG, | 0 5 0");
    // Sharp s is stored upper case as "SS", which is found again; dotted
    // capital I and i are no pair when compared without regard to case.
    // Deseret letters, beyond the Basic Multilingual Plane, pair as a whole.
    // "\xc3\x9f" is stored as "SS", so a second look for it adds another entry.
    row("names beyond ASCII", "f:\xc3\x9f f:SS f:\xc4\xb0 f:i f:\xf0\x90\x90\x80 f:\xf0\x90\x90\xa8 f:\xc3\x9f",
        "0 0 1 2 3 3 4 | fields SS,\xc4\xb0,I,\xf0\x90\x90\x80,SS | 0 5 0");
    row("the date range is only stored", "range", " | range 01.05.2023-02.05.2023 | 0 0 0");
    row("reset gives a new store, names found before are added again",
        "f:CALL +CALL=A sel:A range off reset f:BAND f:CALL +CALL=A",
        "0 0 1 0 1 0 | 1:,A fields BAND,CALL modified | 2 3 1");

    // Selecting by pattern among records with the values 2M, 2m, 12M, 70cm, (none), 2mx.
    const auto select = [](const char *name, const char *op, const char *state) {
        QTest::newRow(name)
            << QStringLiteral("+B=2M +B=2m +B=12M +B=70cm + +B=2mx ") + QLatin1String(op)
            << QStringLiteral("0 1 2 3 4 5 | %1 fields B active modified | 6 1 1").arg(QLatin1String(state));
    };
    select("whole value, any case", "sel:2m", "1:2M 2:2m marks **----");
    select("anywhere in the value", "has:2m", "1:2M 2:2m 3:12M 6:2mx marks ***--*");
    select("star", "sel:*cm", "4:70cm marks ---*--");
    select("question mark", "sel:?2m", "3:12M marks --*---");
    select("set", "sel:[17]*", "3:12M 4:70cm marks --**--");
    select("empty pattern matches empty values", "sel:", "5: marks ----*-");
    select("empty pattern anywhere matches all", "has:", "1:2M 2:2m 3:12M 4:70cm 5: 6:2mx marks ******");
    select("no match", "has:6m", "marks ------");

    // QSO_DATE and TIME_ON: six- and four-digit times inside the range; equal to
    // either end, the day before, no time, no date and not a date outside.
    const QString dates = QStringLiteral("f:QSO_DATE f:TIME_ON +QSO_DATE=20230501;TIME_ON=123456 "
                                         "+QSO_DATE=20230501;TIME_ON=2359 +QSO_DATE=20230501;TIME_ON=0000 "
                                         "+QSO_DATE=20230502;TIME_ON=0000 +QSO_DATE=20230430;TIME_ON=2359 "
                                         "+QSO_DATE=20230501 +TIME_ON=1200 +QSO_DATE=2023-05-01;TIME_ON=1200 ");
    QTest::newRow("select a date range")
        << dates + "in"
        << "0 1 0 1 2 3 4 5 6 7 | 1:20230501,123456 2:20230501,2359 marks **------ fields QSO_DATE,TIME_ON "
           "active modified | 8 2 1";
    QTest::newRow("deselect a date range")
        << dates + "sel:* out"
        << "0 1 0 1 2 3 4 5 6 7 | 3:20230501,0000 4:20230502,0000 5:20230430,2359 6:20230501 7:,1200 "
           "8:2023-05-01,1200 marks --****** fields QSO_DATE,TIME_ON active modified | 8 2 2";
}

void TestAdifDatabase::operations()
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

GRIDCOL_TEST_MAIN(TestAdifDatabase)
#include "tst_adifdatabase.moc"
