#include "testsupport.h"

#include "adif/adifdatabase.h"
#include "database/datetext.h"

#include <QDir>
#include <QSignalSpy>

namespace {

/// A record without id; values separated by ",", a "*" at the end selects it.
AdifRecord Record(QString text)
{
    AdifRecord record;
    record.selected = text.endsWith(QLatin1Char('*'));
    if (record.selected)
        text.chop(1);
    const QStringList values = text.split(QLatin1Char(','));
    for (int i = 0; i < values.size(); ++i)
        record.SetValue(i, values.at(i));
    return record;
}

/// The value list of a record, every position up to its length.
QStringList Values(const AdifRecord &record)
{
    QStringList values;
    for (int i = 0; i < record.ValueCount(); ++i)
        values << record.Value(i);
    return values;
}

/// Runs store operations separated by blanks and returns, separated by
/// blanks, what StoreRecord, SetSignalsEnabled and FieldIndex answered:
///   +A,,B  a new record      2=X*  the record with id 2    -2  RemoveRecord(2)
///   ~2  Deselect(2)          @1.4=X  SetRecordValue(1, 4, X)   f:NAME  FieldIndex(NAME)
///   sel:P has:P desel:P deshas:P  (De)SelectMatching on position 0, whole value or anywhere
///   in out  (De)SelectDateRange from 01.05.2023 00:00 to 02.05.2023 00:00
///   range  SetDateRange(01.05.2023, 02.05.2023)      none clear reset off on
QString Run(AdifDataBase &store, const QString &script)
{
    QStringList results;
    for (const QString &op : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString arg = op.section(QLatin1Char(':'), 1);
        if (op.startsWith(QLatin1Char('+'))) {
            results << QString::number(store.StoreRecord(Record(op.mid(1))));
        } else if (op.at(0).isDigit()) {
            AdifRecord record = Record(op.section(QLatin1Char('='), 1));
            record.id = op.section(QLatin1Char('='), 0, 0).toInt();
            results << QString::number(store.StoreRecord(record));
        } else if (op.startsWith(QLatin1Char('-'))) {
            store.RemoveRecord(op.mid(1).toInt());
        } else if (op.startsWith(QLatin1Char('~'))) {
            store.Deselect(op.mid(1).toInt());
        } else if (op.startsWith(QLatin1Char('@'))) {
            const QString where = op.mid(1).section(QLatin1Char('='), 0, 0);
            store.SetRecordValue(where.section(QLatin1Char('.'), 0, 0).toInt(),
                                 where.section(QLatin1Char('.'), 1).toInt(), op.section(QLatin1Char('='), 1));
        } else if (op.startsWith(QLatin1String("f:"))) {
            results << QString::number(store.FieldIndex(arg));
        } else if (op.startsWith(QLatin1String("sel:")) || op.startsWith(QLatin1String("has:"))) {
            store.SelectMatching(0, arg, op.startsWith(QLatin1Char('h')));
        } else if (op.startsWith(QLatin1String("desel:")) || op.startsWith(QLatin1String("deshas:"))) {
            store.DeselectMatching(0, arg, op.startsWith(QLatin1String("desh")));
        } else if (op == QLatin1String("off") || op == QLatin1String("on")) {
            results << QString::number(store.SetSignalsEnabled(op == QLatin1String("on")));
        } else if (op == QLatin1String("in") || op == QLatin1String("out")) {
            const QDateTime from = Day("01.05.2023 00:00");
            const QDateTime to = Day("02.05.2023 00:00");
            op == QLatin1String("in") ? store.SelectDateRange(from, to) : store.DeselectDateRange(from, to);
        } else if (op == QLatin1String("range")) {
            store.SetDateRange(Day("01.05.2023"), Day("02.05.2023"));
        } else if (op == QLatin1String("none")) {
            store.ClearSelection();
        } else if (op == QLatin1String("clear")) {
            store.ClearRecords();
        } else if (op == QLatin1String("reset")) {
            store.Reset();
        } else {
            results << QStringLiteral("unknown ") + op;
        }
    }
    return results.join(QLatin1Char(' '));
}

/// The records as GetRecord() shows them ("id:values"), the selected flags
/// of the record list ("*" or "-") where any is set or a selection is
/// active, the catalogue, the stored date range and the flags.
QString State(const AdifDataBase &store)
{
    QStringList parts;
    for (int n = 0; store.GetRecord(n).id > 0; ++n) {
        const AdifRecord record = store.GetRecord(n);
        parts << QString::number(record.id) + QLatin1Char(':') + Values(record).join(QLatin1Char(','));
    }
    QString marks;
    for (int i = 0; i < store.RecordCount(); ++i)
        marks += QLatin1Char(store.IsSelected(i) ? '*' : '-');
    if (store.IsSelectionActive() || marks.contains(QLatin1Char('*')))
        parts << QStringLiteral("marks ") + marks;
    QStringList names;
    for (int i = 0; i < store.FieldCount(); ++i)
        names << store.FieldName(i);
    if (!names.isEmpty())
        parts << QStringLiteral("fields ") + names.join(QLatin1Char(','));
    // A range left over while none is set shows as such.
    if (store.HasDateRange() || store.DateRangeFrom().isValid() || store.DateRangeTo().isValid())
        parts << QLatin1String(store.HasDateRange() ? "range " : "unset range ") + DayText(store.DateRangeFrom())
                + QLatin1Char('-') + DayText(store.DateRangeTo());
    if (store.IsSelectionActive())
        parts << QStringLiteral("active");
    if (store.IsModified())
        parts << QStringLiteral("modified");
    if (!store.SignalsEnabled())
        parts << QStringLiteral("off");
    return parts.join(QLatin1Char(' '));
}

/// How often DataChanged, AdifChanged and SelectionChanged were sent.
struct SignalCounts
{
    explicit SignalCounts(AdifDataBase &store)
        : data(&store, &AdifDataBase::DataChanged)
        , adif(&store, &AdifDataBase::AdifChanged)
        , selection(&store, &AdifDataBase::SelectionChanged)
    {
    }
    QString text() const
    {
        return QStringLiteral("%1 %2 %3").arg(data.count()).arg(adif.count()).arg(selection.count());
    }

    QSignalSpy data;
    QSignalSpy adif;
    QSignalSpy selection;
};

} // namespace

class TestAdifDataBase : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void recordValues();
    void operations_data();
    void operations();
    void loadFieldCatalogue_data();
    void loadFieldCatalogue();
    void fieldIndex();
    void fieldIndexMatchesCaseInsensitiveCompare();
};

void TestAdifDataBase::recordValues()
{
    AdifRecord record;
    record.selected = true;
    record.id = 5;
    record.SetValue(3, QStringLiteral("x"));
    record.SetValue(1, QStringLiteral("y"));
    QCOMPARE(Values(record), QStringList({ QString(), "y", QString(), "x" }));
    QCOMPARE(record.Value(4), QString());

    record.InitRecord(2);
    QCOMPARE(record.selected, false);
    QCOMPARE(record.id, -1);
    QCOMPARE(Values(record), QStringList({ QString(), QString() }));
}

void TestAdifDataBase::operations_data()
{
    QTest::addColumn<QString>("script");
    // What the operations answered | State() | how often DataChanged, AdifChanged, SelectionChanged were sent
    QTest::addColumn<QString>("outcome");

    const auto row = [](const char *name, const char *script, const char *outcome) {
        QTest::newRow(name) << script << outcome;
    };
    row("ids count from 1", "+A +B +C", "0 1 2 | 1:A 2:B 3:C modified | 3 0 0");
    row("id 0 is a record not stored yet", "0=A 0=B", "0 1 | 1:A 2:B modified | 2 0 0");
    row("an unknown id stores nothing, but is a change", "+A clear +B clear 7=X", "0 0 -1 | modified | 3 0 0");
    row("a known id is replaced in place; the result is the last position", "+A +B +C 2=B2,,new*",
        "0 1 2 2 | 1:A 2:B2,,new 3:C marks -*- modified | 4 0 0");
    row("clear empties records and selection, keeps the catalogue, sends nothing", "f:CALL +A +B sel:A clear",
        "0 0 1 | fields CALL | 2 1 1");
    row("ids start again after clear", "+A +B clear +C", "0 1 0 | 1:C modified | 3 0 0");
    row("a selection maps GetRecord to the selected records", "+A +B +C +D sel:[AC]",
        "0 1 2 3 | 1:A 3:C marks *-*- active modified | 4 0 1");
    row("deselect by id", "+A +B +C +D sel:[AC] ~3 ~99", "0 1 2 3 | 1:A marks *--- active modified | 4 0 3");
    row("clear the selection", "+A +B +C +D sel:[AC] none", "0 1 2 3 | 1:A 2:B 3:C 4:D modified | 4 0 2");
    row("deselect matching keeps the others", "+2m +70cm +2m +23cm sel:*cm sel:2M deshas:c",
        "0 1 2 3 | 1:2m 3:2m marks *-*- active modified | 4 0 3");
    row("deselecting alone makes the selection active", "+2m desel:2m", "0 | marks - active modified | 1 0 1");
    row("remove; ids are not handed out twice", "+A +B +C +D -2 -2 -0 +E",
        "0 1 2 3 3 | 1:A 3:C 4:D 5:E modified | 8 0 0");
    row("removing an unknown id is a change", "+A clear -7", "0 | modified | 2 0 0");
    row("set a value of the n-th selected record", "+A +B +C sel:C @0.4=JO62QM @1.0=X none @3.0=X",
        "0 1 2 | 1:A 2:B 3:C,,,,JO62QM modified | 4 0 2");
    row("no signal while switched off", "off f:CALL f:BAND +A @0.0=B sel:B ~1 none -1 on f:band f:mode",
        "1 0 1 0 0 1 2 | fields CALL,BAND,MODE modified | 0 1 0");
    row("the date range is only stored", "range", " | range 01.05.2023-02.05.2023 | 0 0 0");
    row("reset gives a new store, names found before are added again",
        "f:CALL +A sel:A range off reset f:BAND f:CALL +A", "0 0 1 0 1 0 | 1:A fields BAND,CALL modified | 2 3 1");

    // Selecting by pattern among records with the values 2M, 2m, 12M, 70cm, (none), 2mx.
    const auto select = [](const char *name, const char *op, const char *state) {
        QTest::newRow(name) << QStringLiteral("+2M +2m +12M +70cm + +2mx ") + QLatin1String(op)
                            << QStringLiteral("0 1 2 3 4 5 | %1 active modified | 6 0 1").arg(QLatin1String(state));
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
    const QString dates = QStringLiteral("f:QSO_DATE f:TIME_ON +20230501,123456 +20230501,2359 +20230501,0000 "
                                         "+20230502,0000 +20230430,2359 +20230501 +,1200 +2023-05-01,1200 ");
    QTest::newRow("select a date range")
        << dates + "in"
        << "0 1 0 1 2 3 4 5 6 7 | 1:20230501,123456 2:20230501,2359 marks **------ fields QSO_DATE,TIME_ON "
           "active modified | 8 2 1";
    QTest::newRow("deselect a date range")
        << dates + "sel:* out"
        << "0 1 0 1 2 3 4 5 6 7 | 3:20230501,0000 4:20230502,0000 5:20230430,2359 6:20230501 7:,1200 "
           "8:2023-05-01,1200 marks --****** fields QSO_DATE,TIME_ON active modified | 8 2 2";
}

void TestAdifDataBase::operations()
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
        QVERIFY(none.id == -1 && !none.selected && none.ValueCount() == 0);
    }
    QVERIFY(!store.IsSelected(-1) && !store.IsSelected(store.RecordCount()));
    QCOMPARE(store.SelectedCount(), store.IsSelectionActive() ? shown : 0);
    // Without a selection every id is found at its position, and no other id is found.
    if (!store.IsSelectionActive()) {
        for (int id = 0; id <= 8; ++id) {
            int position = -1;
            for (int n = 0; n < store.RecordCount() && position < 0; ++n)
                position = store.GetRecord(n).id == id ? n : -1;
            QCOMPARE(store.RecordIndexOfId(id), position);
        }
    }
}

void TestAdifDataBase::loadFieldCatalogue_data()
{
    QTest::addColumn<QString>("path");
    const QDir folder(QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues"), QStringLiteral("*.txt"));
    for (const QString &file : folder.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << folder.filePath(file);
}

void TestAdifDataBase::loadFieldCatalogue()
{
    QFETCH(QString, path);
    AdifDataBase store;
    store.StoreRecord(AdifRecord());
    SignalCounts spy(store);
    store.LoadFieldCatalogue(0, path);
    // "NAME|label|description" per field.
    QString catalogue;
    for (int i = 0; i < store.FieldCount(); ++i)
        catalogue += QStringList({ store.FieldName(i), store.FieldLabel(i), store.FieldDescription(i) })
                         .join(QLatin1Char('|'))
            + QLatin1Char('\n');
    COMPARE_TEXT(catalogue.toUtf8(), ReadFileBytes(path + QStringLiteral(".expected")));
    QCOMPARE(spy.text(), QStringLiteral("0 %1 0").arg(store.FieldCount()));
    QVERIFY(!store.IsModified());

    // A second load appends; a file that cannot be read changes nothing.
    store.StoreRecord(AdifRecord());
    const int count = store.FieldCount();
    store.LoadFieldCatalogue(0, path);
    QCOMPARE(store.FieldCount(), 2 * count);
    store.StoreRecord(AdifRecord());
    store.LoadFieldCatalogue(0, path + QStringLiteral(".missing"));
    store.LoadFieldCatalogue(0, QStringLiteral(GRIDCOL_TEST_DATA));
    QCOMPARE(store.FieldCount(), 2 * count);
    QVERIFY(store.IsModified());
}

void TestAdifDataBase::fieldIndex()
{
    AdifDataBase store;
    SignalCounts spy(store);
    QCOMPARE(store.AddField(QStringLiteral("Call"), QStringLiteral("Call"), QString()), 0);
    QCOMPARE(store.AddField(QStringLiteral("gridsquare"), QStringLiteral("Locator"), QString()), 1);
    QCOMPARE(store.AddField(QStringLiteral("call"), QStringLiteral("again"), QString()), 2);
    // The first field of a name, found without regard to case; blanks are
    // part of the name; a name not listed yet is added.
    QStringList found;
    for (const char *name : { "GridSquare", "CALL", "call", "CALL ", "my_rig", "My_Rig", "", "gridsquare" })
        found << QString::number(store.FieldIndex(QLatin1String(name)));
    QCOMPARE(found.join(QLatin1Char(' ')), QStringLiteral("1 0 0 3 4 4 5 1"));
    QCOMPARE(State(store), QStringLiteral("fields CALL,GRIDSQUARE,CALL,CALL ,MY_RIG,"));
    QCOMPARE(store.FieldLabel(4) + store.FieldDescription(4) + store.FieldLabel(5), QStringLiteral("[my_rig][]"));
    QCOMPARE(store.FieldLabel(-1) + store.FieldLabel(99), QString());
    QCOMPARE(spy.text(), QStringLiteral("0 6 0"));
}

void TestAdifDataBase::fieldIndexMatchesCaseInsensitiveCompare()
{
    // Names whose case folding is not plain ASCII: sharp s, long s, Kelvin
    // sign, dotted and dotless i, Greek sigmas, Deseret letters outside the
    // Basic Multilingual Plane, and lone surrogates.
    QStringList names = QString::fromUtf8("\xc3\x9f SS ss \xc5\xbf s \xe2\x84\xaa k \xc4\xb0 i \xc4\xb1 I \xcf\x82 "
                                          "\xce\xa3 \xcf\x83 \xf0\x90\x90\x80 \xf0\x90\x90\xa8 call CALL "
                                          "gridsquare\xc3\xa4 GRIDSQUARE\xc3\x84")
                            .split(QLatin1Char(' '));
    names << QString(QChar(0xd801)) << QString(QChar(0xdc00));
    AdifDataBase store;
    // Twice: a name whose upper case folds to another name matches no entry
    // the second time either.
    for (const QString &name : names + names) {
        int expected = store.FieldCount();
        for (int i = store.FieldCount() - 1; i >= 0; --i) {
            if (name.compare(store.FieldName(i), Qt::CaseInsensitive) == 0)
                expected = i;
        }
        QCOMPARE(store.FieldIndex(name), expected);
    }
}

GRIDCOL_TEST_MAIN(TestAdifDataBase)
#include "tst_adifdatabase.moc"
