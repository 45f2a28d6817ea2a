#include "testsupport.h"

#include "adif/adifdatabase.h"

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

/// A record without id whose values are given as "position=value".
AdifRecord Record(const QStringList &values)
{
    AdifRecord record;
    for (const QString &value : values)
        record.SetValue(value.section(QLatin1Char('='), 0, 0).toInt(),
                        value.section(QLatin1Char('='), 1));
    return record;
}

/// The catalogue as "NAME|label|description" lines.
QStringList Catalogue(const AdifDataBase &store)
{
    QStringList lines;
    for (int i = 0; i < store.FieldCount(); ++i)
        lines.append(store.FieldName(i) + QLatin1Char('|') + store.FieldLabel(i) + QLatin1Char('|')
                     + store.FieldDescription(i));
    return lines;
}

/// The ids of the records whose selected flag is set, in list order.
QList<int> SelectedIds(const AdifDataBase &store)
{
    QList<int> ids;
    for (int i = 0; i < store.RecordCount(); ++i) {
        if (store.IsSelected(i))
            ids.append(i + 1);
    }
    return ids;
}

/// Counts of the three signals, in declaration order.
struct SignalCounts
{
    explicit SignalCounts(AdifDataBase &store)
        : data(&store, &AdifDataBase::DataChanged)
        , adif(&store, &AdifDataBase::AdifChanged)
        , selection(&store, &AdifDataBase::SelectionChanged)
    {
    }
    QList<int> counts() const { return { data.count(), adif.count(), selection.count() }; }

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
    void storeHandsOutIds();
    void storeWithUnknownIdAddsNothing();
    void storeWithKnownIdReplacesInPlace();
    void clearRecordsStartsAgain();
    void getRecordOutsideTheList();
    void selectionMapsPositions();
    void selectMatching_data();
    void selectMatching();
    void deselectMatchingKeepsOthers();
    void dateRange_data();
    void dateRange();
    void removeRecord();
    void setRecordValue();
    void signalsFollowTheSwitch();
    void setDateRangeOnlyStores();
    void resetRestoresANewStore();

    void loadFieldCatalogue_data();
    void loadFieldCatalogue();
    void loadFieldCatalogueSignalsAndFlag();
    void unreadableCatalogueChangesNothing();
    void fieldIndex();
    void fieldIndexMatchesCaseInsensitiveCompare();
    void processWideStoreStartsEmpty();
};

void TestAdifDataBase::recordValues()
{
    AdifRecord record;
    record.id = 5;
    record.selected = true;
    record.SetValue(3, QStringLiteral("x"));
    QCOMPARE(record.values,
             QVector<QString>({ QString(), QString(), QString(), QStringLiteral("x") }));
    QCOMPARE(record.Value(3), QStringLiteral("x"));
    QCOMPARE(record.Value(4), QString());
    QCOMPARE(record.Value(-1), QString());
    record.SetValue(1, QStringLiteral("y"));
    QCOMPARE(record.values.size(), 4);

    record.InitRecord(2);
    QCOMPARE(record.selected, false);
    QCOMPARE(record.id, -1);
    QCOMPARE(record.values, QVector<QString>(2));
}

void TestAdifDataBase::storeHandsOutIds()
{
    AdifDataBase store;
    SignalCounts spy(store);
    QCOMPARE(store.StoreRecord(Record({ "0=A" })), 0);
    QCOMPARE(store.StoreRecord(Record({ "0=B" })), 1);
    QCOMPARE(store.StoreRecord(Record({ "0=C" })), 2);
    QCOMPARE(store.RecordCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(store.GetRecord(i).id, i + 1);
    QCOMPARE(store.GetRecord(2).Value(0), QStringLiteral("C"));
    QVERIFY(store.IsModified());
    QCOMPARE(spy.counts(), QList<int>({ 3, 0, 0 }));
    QCOMPARE(store.RecordIndexOfId(2), 1);
    QCOMPARE(store.RecordIndexOfId(4), -1);
    QCOMPARE(store.RecordIndexOfId(0), -1);
}

void TestAdifDataBase::storeWithUnknownIdAddsNothing()
{
    AdifDataBase store;
    store.StoreRecord(Record({ "0=A" }));
    store.ClearRecords(); // modified false again, ids from 1
    store.StoreRecord(Record({ "0=B" }));
    store.ClearRecords();
    SignalCounts spy(store);
    AdifRecord stranger = Record({ "0=X" });
    stranger.id = 7;
    QCOMPARE(store.StoreRecord(stranger), -1);
    QCOMPARE(store.RecordCount(), 0);
    QVERIFY(store.IsModified());
    QCOMPARE(spy.counts(), QList<int>({ 1, 0, 0 }));
}

void TestAdifDataBase::storeWithKnownIdReplacesInPlace()
{
    AdifDataBase store;
    for (const char *call : { "A", "B", "C" })
        store.StoreRecord(Record({ QStringLiteral("0=") + QLatin1String(call) }));
    AdifRecord changed = store.GetRecord(1);
    changed.SetValue(0, QStringLiteral("B2"));
    changed.SetValue(2, QStringLiteral("new"));
    changed.selected = true;
    // The result is the last position, not that of the replaced record.
    QCOMPARE(store.StoreRecord(changed), 2);
    QCOMPARE(store.RecordCount(), 3);
    const AdifRecord stored = store.GetRecord(1);
    QCOMPARE(stored.id, 2);
    QCOMPARE(stored.Value(0), QStringLiteral("B2"));
    QCOMPARE(stored.Value(2), QStringLiteral("new"));
    QVERIFY(store.IsSelected(1));
    QCOMPARE(store.GetRecord(2).Value(0), QStringLiteral("C"));
}

void TestAdifDataBase::clearRecordsStartsAgain()
{
    AdifDataBase store;
    store.AddField(QStringLiteral("call"), QStringLiteral("Call"), QString());
    store.StoreRecord(Record({ "0=A" }));
    store.StoreRecord(Record({ "0=B" }));
    store.SelectMatching(0, QStringLiteral("A"), false);
    SignalCounts spy(store);
    store.ClearRecords();
    QCOMPARE(store.RecordCount(), 0);
    QVERIFY(!store.IsModified());
    QVERIFY(!store.IsSelectionActive());
    QCOMPARE(store.FieldCount(), 1);
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 0 }));
    store.StoreRecord(Record({ "0=C" }));
    QCOMPARE(store.GetRecord(0).id, 1);
}

void TestAdifDataBase::getRecordOutsideTheList()
{
    AdifDataBase store;
    store.StoreRecord(Record({ "0=A" }));
    for (int n : { 1, -1, 100 }) {
        const AdifRecord empty = store.GetRecord(n);
        QCOMPARE(empty.id, -1);
        QVERIFY(!empty.selected);
        QVERIFY(empty.values.isEmpty());
    }
    QVERIFY(!store.IsSelected(1));
    QVERIFY(!store.IsSelected(-1));
}

void TestAdifDataBase::selectionMapsPositions()
{
    AdifDataBase store;
    for (const char *call : { "A", "B", "C", "D" })
        store.StoreRecord(Record({ QStringLiteral("0=") + QLatin1String(call) }));
    QCOMPARE(store.SelectedCount(), 0);
    store.SelectMatching(0, QStringLiteral("[AC]"), false);
    QVERIFY(store.IsSelectionActive());
    QCOMPARE(store.SelectedCount(), 2);
    QCOMPARE(store.RecordCount(), 4);
    QCOMPARE(store.GetRecord(0).Value(0), QStringLiteral("A"));
    QCOMPARE(store.GetRecord(1).Value(0), QStringLiteral("C"));
    QCOMPARE(store.GetRecord(1).id, 3);
    QCOMPARE(store.GetRecord(2).id, -1);
    QVERIFY(store.IsSelected(2)); // IsSelected takes list positions
    QVERIFY(!store.IsSelected(1));

    SignalCounts spy(store);
    store.Deselect(3);
    QCOMPARE(SelectedIds(store), QList<int>({ 1 }));
    store.Deselect(99);
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 2 }));

    store.ClearSelection();
    QVERIFY(!store.IsSelectionActive());
    QCOMPARE(store.SelectedCount(), 0);
    QCOMPARE(SelectedIds(store), QList<int>());
    QCOMPARE(store.GetRecord(3).Value(0), QStringLiteral("D"));
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 3 }));
}

void TestAdifDataBase::selectMatching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("contains");
    QTest::addColumn<QList<int>>("selected");

    // Values of records 1 to 6: 2M, 2m, 12M, 70cm, (none), 2m and more
    QTest::newRow("whole value, any case") << "2m" << false << QList<int> { 1, 2 };
    QTest::newRow("anywhere in the value") << "2m" << true << QList<int> { 1, 2, 3, 6 };
    QTest::newRow("star") << "*cm" << false << QList<int> { 4 };
    QTest::newRow("question mark") << "?2m" << false << QList<int> { 3 };
    QTest::newRow("set") << "[17]*" << false << QList<int> { 3, 4 };
    QTest::newRow("empty pattern matches empty values") << "" << false << QList<int> { 5 };
    QTest::newRow("empty pattern anywhere matches all")
        << "" << true << QList<int> { 1, 2, 3, 4, 5, 6 };
    QTest::newRow("no match") << "6m" << true << QList<int> {};
}

void TestAdifDataBase::selectMatching()
{
    QFETCH(QString, pattern);
    QFETCH(bool, contains);
    QFETCH(QList<int>, selected);

    AdifDataBase store;
    for (const char *band : { "2M", "2m", "12M", "70cm", "", "2m and more" })
        store.StoreRecord(Record({ QStringLiteral("1=") + QLatin1String(band) }));
    SignalCounts spy(store);
    store.SelectMatching(1, pattern, contains);
    QCOMPARE(SelectedIds(store), selected);
    QCOMPARE(store.SelectedCount(), selected.size());
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 1 }));
}

void TestAdifDataBase::deselectMatchingKeepsOthers()
{
    AdifDataBase store;
    for (const char *band : { "2m", "70cm", "2m", "23cm" })
        store.StoreRecord(Record({ QStringLiteral("0=") + QLatin1String(band) }));
    store.SelectMatching(0, QStringLiteral("*cm"), false);
    store.SelectMatching(0, QStringLiteral("2M"), false);
    QCOMPARE(SelectedIds(store), QList<int>({ 1, 2, 3, 4 }));
    store.DeselectMatching(0, QStringLiteral("c"), true);
    QCOMPARE(SelectedIds(store), QList<int>({ 1, 3 }));
    store.ClearSelection();
    // Deselecting alone still makes the selection active, with nothing selected.
    store.DeselectMatching(0, QStringLiteral("2m"), false);
    QVERIFY(store.IsSelectionActive());
    QCOMPARE(store.SelectedCount(), 0);
    QCOMPARE(store.GetRecord(0).id, -1);
}

void TestAdifDataBase::dateRange_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("inside");

    // The range is 01.05.2023 00:00 to 02.05.2023 00:00, both ends outside.
    QTest::newRow("six-digit time inside") << "20230501"
                                           << "123456" << true;
    QTest::newRow("four-digit time inside") << "20230501"
                                            << "2359" << true;
    QTest::newRow("equal to from") << "20230501"
                                   << "0000" << false;
    QTest::newRow("equal to to") << "20230502"
                                 << "0000" << false;
    QTest::newRow("day before") << "20230430"
                                << "2359" << false;
    QTest::newRow("no time") << "20230501"
                             << "" << false;
    QTest::newRow("no date") << ""
                             << "1200" << false;
    QTest::newRow("not a date") << "2023-05-01"
                                << "1200" << false;
}

void TestAdifDataBase::dateRange()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, inside);

    AdifDataBase store;
    const int dateField = store.FieldIndex(QStringLiteral("QSO_DATE"));
    const int timeField = store.FieldIndex(QStringLiteral("TIME_ON"));
    AdifRecord record;
    record.SetValue(dateField, date);
    record.SetValue(timeField, time);
    store.StoreRecord(record);

    const QDateTime from = Day("01.05.2023 00:00");
    const QDateTime to = Day("02.05.2023 00:00");
    SignalCounts spy(store);
    store.SelectDateRange(from, to);
    QVERIFY(store.IsSelectionActive());
    QCOMPARE(store.IsSelected(0), inside);
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 1 }));

    store.SelectMatching(dateField, QStringLiteral("*"), false);
    store.DeselectDateRange(from, to);
    QCOMPARE(store.IsSelected(0), !inside);
    QCOMPARE(store.FieldCount(), 2);
}

void TestAdifDataBase::removeRecord()
{
    AdifDataBase store;
    for (const char *call : { "A", "B", "C", "D" })
        store.StoreRecord(Record({ QStringLiteral("0=") + QLatin1String(call) }));

    SignalCounts spy(store);
    store.RemoveRecord(2);
    QCOMPARE(store.RecordCount(), 3);
    QCOMPARE(store.RecordIndexOfId(2), -1);
    QCOMPARE(store.RecordIndexOfId(3), 1);
    QCOMPARE(store.GetRecord(1).Value(0), QStringLiteral("C"));
    // An id no record has changes nothing but still counts as a change.
    store.RemoveRecord(2);
    store.RemoveRecord(-1);
    QCOMPARE(store.RecordCount(), 3);
    QCOMPARE(spy.counts(), QList<int>({ 3, 0, 0 }));
    QVERIFY(store.IsModified());
    // Ids are not handed out twice.
    store.StoreRecord(Record({ "0=E" }));
    QCOMPARE(store.GetRecord(3).id, 5);
    QCOMPARE(store.RecordIndexOfId(5), 3);
}

void TestAdifDataBase::setRecordValue()
{
    AdifDataBase store;
    for (const char *call : { "A", "B", "C" })
        store.StoreRecord(Record({ QStringLiteral("0=") + QLatin1String(call) }));
    store.SelectMatching(0, QStringLiteral("C"), false);

    SignalCounts spy(store);
    store.SetRecordValue(0, 4, QStringLiteral("JO62QM")); // the first selected record: C
    store.SetRecordValue(1, 0, QStringLiteral("X")); // there is no second selected record
    QCOMPARE(spy.counts(), QList<int>({ 1, 0, 0 }));
    store.ClearSelection();
    QCOMPARE(store.GetRecord(2).Value(4), QStringLiteral("JO62QM"));
    QCOMPARE(store.GetRecord(2).values.size(), 5);
    QCOMPARE(store.GetRecord(1).Value(0), QStringLiteral("B"));
    store.SetRecordValue(3, 0, QStringLiteral("X"));
    QCOMPARE(spy.counts(), QList<int>({ 1, 0, 1 }));
}

void TestAdifDataBase::signalsFollowTheSwitch()
{
    AdifDataBase store;
    QVERIFY(store.SignalsEnabled());
    SignalCounts spy(store);
    QCOMPARE(store.SetSignalsEnabled(false), true);
    store.AddField(QStringLiteral("CALL"), QString(), QString());
    store.FieldIndex(QStringLiteral("BAND"));
    store.StoreRecord(Record({ "0=A" }));
    store.SetRecordValue(0, 0, QStringLiteral("B"));
    store.SelectMatching(0, QStringLiteral("B"), false);
    store.Deselect(1);
    store.ClearSelection();
    store.RemoveRecord(1);
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 0 }));
    QVERIFY(store.IsModified());
    QCOMPARE(store.SetSignalsEnabled(true), false);
    store.FieldIndex(QStringLiteral("band")); // known: no signal
    store.FieldIndex(QStringLiteral("mode"));
    QCOMPARE(spy.counts(), QList<int>({ 0, 1, 0 }));
}

void TestAdifDataBase::setDateRangeOnlyStores()
{
    AdifDataBase store;
    QVERIFY(!store.HasDateRange());
    QVERIFY(!store.DateRangeFrom().isValid());
    SignalCounts spy(store);
    store.SetDateRange(Day("01.05.2023"), Day("02.05.2023"));
    QVERIFY(store.HasDateRange());
    QCOMPARE(store.DateRangeFrom(), Day("01.05.2023"));
    QCOMPARE(store.DateRangeTo(), Day("02.05.2023"));
    QVERIFY(!store.IsSelectionActive());
    QVERIFY(!store.IsModified());
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 0 }));
}

void TestAdifDataBase::resetRestoresANewStore()
{
    AdifDataBase store;
    store.FieldIndex(QStringLiteral("CALL"));
    store.StoreRecord(Record({ "0=A" }));
    store.SelectMatching(0, QStringLiteral("A"), false);
    store.SetDateRange(Day("01.05.2023"), Day("02.05.2023"));
    store.SetSignalsEnabled(false);
    store.Reset();
    QCOMPARE(store.FieldCount(), 0);
    QCOMPARE(store.RecordCount(), 0);
    QVERIFY(store.SignalsEnabled());
    QVERIFY(!store.IsModified());
    QVERIFY(!store.IsSelectionActive());
    QVERIFY(!store.HasDateRange());
    // A name found before the reset is added again, not found in a stale index.
    QCOMPARE(store.FieldIndex(QStringLiteral("BAND")), 0);
    QCOMPARE(store.FieldIndex(QStringLiteral("CALL")), 1);
    store.StoreRecord(Record({ "0=A" }));
    QCOMPARE(store.GetRecord(0).id, 1);
}

void TestAdifDataBase::loadFieldCatalogue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("catalogue");

    QTest::newRow("name, label and description")
        << QByteArray("CALL Call Callsign of the contacted station\n")
        << QStringList { "CALL|Call|Callsign of the contacted station" };
    QTest::newRow("blanks and lower case")
        << QByteArray("  qso_date   Date  \n")
        << QStringList { "QSO_DATE|Date|The [qso_date] ADIF field" };
    QTest::newRow("a single word")
        << QByteArray("band\n") << QStringList { "BAND|[band]|The [band] ADIF field" };
    QTest::newRow("blank lines, a lone #, no line end at the end")
        << QByteArray("\n   \n\t\n#\nMODE Mode")
        << QStringList { "#|[#]|The [#] ADIF field", "MODE|Mode|The [MODE] ADIF field" };
    QTest::newRow("tabs, CR LF and inner runs of blanks")
        << QByteArray("FREQ\tMHz \t transmit   frequency\r\nBAND Band\r\n")
        << QStringList { "FREQ|MHz|transmit frequency", "BAND|Band|The [BAND] ADIF field" };
    QTest::newRow("a lone carriage return separates words")
        << QByteArray("NAME\rName\r\n") << QStringList { "NAME|Name|The [NAME] ADIF field" };
    QTest::newRow("text after a zero byte is cut off")
        << QByteArray("QTH Place") + '\0' + QByteArray(" ignored\nCQZ\n")
        << QStringList { "QTH|Place|The [QTH] ADIF field", "CQZ|[CQZ]|The [CQZ] ADIF field" };
    QTest::newRow("repeated names stay twice")
        << QByteArray("CALL One\ncall Two\n")
        << QStringList { "CALL|One|The [CALL] ADIF field", "CALL|Two|The [call] ADIF field" };
    QTest::newRow("UTF-8") << QByteArray(
        "qth Ort Standort der Gegenstation (\xc3\xa4\xc3\xb6\xc3\xbc)\n")
                           << QStringList { QString::fromUtf8(
                                  "QTH|Ort|Standort der Gegenstation (\xc3\xa4\xc3\xb6\xc3\xbc)") };
    QTest::newRow("empty file") << QByteArray() << QStringList {};
}

void TestAdifDataBase::loadFieldCatalogue()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, catalogue);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("adif.txt"));
    QVERIFY(WriteFileBytes(path, content));
    AdifDataBase store;
    store.LoadFieldCatalogue(0, path);
    QCOMPARE(Catalogue(store), catalogue);
}

void TestAdifDataBase::loadFieldCatalogueSignalsAndFlag()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("adif.txt"));
    QVERIFY(WriteFileBytes(path, "CALL Call\nBAND Band\n\nFREQ Freq\n"));
    AdifDataBase store;
    store.StoreRecord(AdifRecord());
    QVERIFY(store.IsModified());
    SignalCounts spy(store);
    store.LoadFieldCatalogue(0, path);
    QCOMPARE(spy.counts(), QList<int>({ 0, 3, 0 }));
    QVERIFY(!store.IsModified());
    // A second load appends.
    store.LoadFieldCatalogue(0, path);
    QCOMPARE(store.FieldCount(), 6);
    QCOMPARE(store.FieldIndex(QStringLiteral("freq")), 2);
}

void TestAdifDataBase::unreadableCatalogueChangesNothing()
{
    QTemporaryDir dir;
    AdifDataBase store;
    store.StoreRecord(AdifRecord());
    SignalCounts spy(store);
    store.LoadFieldCatalogue(0, dir.filePath(QStringLiteral("missing.txt")));
    store.LoadFieldCatalogue(0, dir.path());
    QCOMPARE(store.FieldCount(), 0);
    QVERIFY(store.IsModified());
    QCOMPARE(spy.counts(), QList<int>({ 0, 0, 0 }));
}

void TestAdifDataBase::fieldIndex()
{
    AdifDataBase store;
    store.AddField(QStringLiteral("Call"), QStringLiteral("Call"), QString());
    QCOMPARE(store.AddField(QStringLiteral("gridsquare"), QStringLiteral("Locator"), QString()), 1);
    QCOMPARE(store.FieldName(1), QStringLiteral("GRIDSQUARE"));
    for (const char *name : { "gridsquare", "GridSquare", "GRIDSQUARE" })
        QCOMPARE(store.FieldIndex(QLatin1String(name)), 1);
    // Blanks are part of the name.
    QCOMPARE(store.FieldIndex(QStringLiteral("CALL ")), 2);

    SignalCounts spy(store);
    QCOMPARE(store.FieldIndex(QStringLiteral("my_rig")), 3);
    QCOMPARE(store.FieldIndex(QStringLiteral("My_Rig")), 3);
    QCOMPARE(Catalogue(store).at(3), QStringLiteral("MY_RIG|[my_rig]|"));
    QCOMPARE(store.FieldIndex(QString()), 4);
    QCOMPARE(store.FieldIndex(QStringLiteral("")), 4);
    QCOMPARE(Catalogue(store).at(4), QStringLiteral("|[]|"));
    QCOMPARE(spy.counts(), QList<int>({ 0, 2, 0 }));

    // A later entry of the same name is never found.
    store.AddField(QStringLiteral("call"), QStringLiteral("again"), QString());
    QCOMPARE(store.FieldIndex(QStringLiteral("call")), 0);
    QCOMPARE(store.FieldCount(), 6);
    QCOMPARE(store.FieldLabel(99), QString());
}

void TestAdifDataBase::fieldIndexMatchesCaseInsensitiveCompare()
{
    // Names whose case folding is not plain ASCII: sharp s, long s, Kelvin
    // sign, dotted and dotless i, Greek sigmas, Deseret letters outside the
    // Basic Multilingual Plane, and a lone surrogate.
    const QStringList names = {
        QString::fromUtf8("\xc3\x9f"),
        QStringLiteral("SS"),
        QStringLiteral("ss"),
        QString::fromUtf8("\xc5\xbf"),
        QStringLiteral("s"),
        QString::fromUtf8("\xe2\x84\xaa"),
        QStringLiteral("k"),
        QString::fromUtf8("\xc4\xb0"),
        QStringLiteral("i"),
        QString::fromUtf8("\xc4\xb1"),
        QStringLiteral("I"),
        QString::fromUtf8("\xcf\x82"),
        QString::fromUtf8("\xce\xa3"),
        QString::fromUtf8("\xcf\x83"),
        QString::fromUtf8("\xf0\x90\x90\x80"),
        QString::fromUtf8("\xf0\x90\x90\xa8"),
        QString(QChar(0xd801)),
        QString(QChar(0xdc00)),
        QStringLiteral("call"),
        QStringLiteral("CALL"),
        QString::fromUtf8("gridsquare\xc3\xa4"),
        QString::fromUtf8("GRIDSQUARE\xc3\x84"),
    };
    AdifDataBase store;
    for (const QString &name : names) {
        int expected = -1;
        for (int i = 0; i < store.FieldCount() && expected < 0; ++i) {
            if (name.compare(store.FieldName(i), Qt::CaseInsensitive) == 0)
                expected = i;
        }
        if (expected < 0)
            expected = store.FieldCount();
        QCOMPARE(store.FieldIndex(name), expected);
    }
}

void TestAdifDataBase::processWideStoreStartsEmpty()
{
    QCOMPARE(AdifStore.FieldCount(), 0);
    QCOMPARE(AdifStore.RecordCount(), 0);
    QVERIFY(AdifStore.SignalsEnabled());
    QVERIFY(AdifStore.parent() == nullptr);
}

GRIDCOL_TEST_MAIN(TestAdifDataBase)
#include "tst_adifdatabase.moc"
