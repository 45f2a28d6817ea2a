#include "testsupport.h"

#include "adif/adifdatabase.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const QByteArray header = "ADIF File exported by Pevrax\n15-Jun-2026 12:00\n<eoh>";

/// A record whose values are given as "NAME=value", fields found or added by name.
AdifRecord Record(AdifDataBase &store, const QStringList &values)
{
    AdifRecord record;
    for (const QString &value : values)
        record.SetValue(store.FieldIndex(value.section(QLatin1Char('='), 0, 0)),
                        value.section(QLatin1Char('='), 1));
    return record;
}

QByteArray Write(const AdifDataBase &store, int lineWidth = 0, bool onlySelected = false,
                 const AdifProgress &progress = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (store.WriteAdifFile(buffer, lineWidth, onlySelected, progress) != 0)
        return "<failed>";
    return bytes;
}

void Read(AdifDataBase &store, const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    store.ReadAdifFile(buffer, nullptr);
}

/// Every record as a map from field name to its non-empty value.
QList<QMap<QString, QString>> Contents(const AdifDataBase &store)
{
    QList<QMap<QString, QString>> records;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QMap<QString, QString> fields;
        for (int f = 0; f < record.values.size() && f < store.FieldCount(); ++f) {
            if (!record.values.at(f).isEmpty())
                fields.insert(store.FieldName(f), record.values.at(f));
        }
        records.append(fields);
    }
    return records;
}

} // namespace

class TestAdifWriter : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void emptyStore();
    void records_data();
    void records();
    void lineWidth_data();
    void lineWidth();
    void onlySelected();
    void writesTheLocalEncoding();
    void leavesTheStoreAlone();
    void files();
    void roundTrip();
    void roundTripOfRealLogs_data();
    void roundTripOfRealLogs();
};

void TestAdifWriter::emptyStore()
{
    AdifDataBase store;
    store.FieldIndex(QStringLiteral("CALL"));
    QCOMPARE(Write(store), header);
}

void TestAdifWriter::records_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("catalogue order, not the order values were set")
        << QStringList { "CALL", "QSO_DATE" }
        << QList<QStringList> { { "QSO_DATE=20260101", "CALL=N0CALL" } }
        << QByteArray("<CALL:6>N0CALL<QSO_DATE:8>20260101<eor>\n\n");
    QTest::newRow("empty values and missing positions write nothing")
        << QStringList { "CALL", "BAND", "MODE" }
        << QList<QStringList> { { "CALL=A1", "BAND=" }, { "MODE=CW" } }
        << QByteArray("<CALL:2>A1<eor>\n\n<MODE:2>CW<eor>\n\n");
    QTest::newRow("a record without values")
        << QStringList { "CALL" } << QList<QStringList> { {}, { "CALL=B" } }
        << QByteArray("<eor>\n\n<CALL:1>B<eor>\n\n");
    QTest::newRow("names upper case, lengths in characters")
        << QStringList { "name" }
        << QList<QStringList> { { QString::fromUtf8("name=J\xc3\xbcrgen \xf0\x9f\x98\x80") } }
        << QByteArray("<NAME:9>J\xc3\xbcrgen \xf0\x9f\x98\x80<eor>\n\n");
    QTest::newRow("values as they are, blanks and line ends included")
        << QStringList { "NOTES" } << QList<QStringList> { { "NOTES= a <b>\n c " } }
        << QByteArray("<NOTES:10> a <b>\n c <eor>\n\n");
    QTest::newRow("CR LF inside a value is written as LF")
        << QStringList { "NOTES" } << QList<QStringList> { { "NOTES=a\r\nb\rc" } }
        << QByteArray("<NOTES:5>a\nb\rc<eor>\n\n");
}

void TestAdifWriter::records()
{
    QFETCH(QStringList, fields);
    QFETCH(QList<QStringList>, records);
    QFETCH(QByteArray, written);

    AdifDataBase store;
    for (const QString &field : fields)
        store.FieldIndex(field);
    for (const QStringList &values : records)
        store.StoreRecord(Record(store, values));
    QList<int> progress;
    COMPARE_TEXT(Write(store, 0, false, [&](int n) { progress.append(n); }), header + written);
    QCOMPARE(progress.size(), records.size());
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i), i + 1);
}

void TestAdifWriter::lineWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("written");

    // Two records of three tags of 12 characters each.
    QTest::newRow("0: no line ends") << 0
                                     << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY<eor>\n\n"
                                                   "<CALL:4>EFGH<BAND:4>23CM<MODE:4>SSTV<eor>\n\n");
    QTest::newRow("20: after the second tag")
        << 20
        << QByteArray("<CALL:4>ABCD<BAND:4>70CM\n<MODE:4>RTTY<eor>\n\n"
                      "<CALL:4>EFGH<BAND:4>23CM\n<MODE:4>SSTV<eor>\n\n");
    QTest::newRow("24: exactly full is not more")
        << 24
        << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY\n<eor>\n\n"
                      "<CALL:4>EFGH<BAND:4>23CM<MODE:4>SSTV\n<eor>\n\n");
    QTest::newRow("11: after every tag")
        << 11
        << QByteArray("<CALL:4>ABCD\n<BAND:4>70CM\n<MODE:4>RTTY\n<eor>\n\n"
                      "<CALL:4>EFGH\n<BAND:4>23CM\n<MODE:4>SSTV\n<eor>\n\n");
    QTest::newRow("negative: after every tag")
        << -1
        << QByteArray("<CALL:4>ABCD\n<BAND:4>70CM\n<MODE:4>RTTY\n<eor>\n\n"
                      "<CALL:4>EFGH\n<BAND:4>23CM\n<MODE:4>SSTV\n<eor>\n\n");
    QTest::newRow("1000: never") << 1000
                                 << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY<eor>\n\n"
                                               "<CALL:4>EFGH<BAND:4>23CM<MODE:4>SSTV<eor>\n\n");
}

void TestAdifWriter::lineWidth()
{
    QFETCH(int, width);
    QFETCH(QByteArray, written);

    AdifDataBase store;
    store.StoreRecord(Record(store, { "CALL=ABCD", "BAND=70CM", "MODE=RTTY" }));
    store.StoreRecord(Record(store, { "CALL=EFGH", "BAND=23CM", "MODE=SSTV" }));
    COMPARE_TEXT(Write(store, width), header + written);

    // What was written reads back the same, whatever the line ends.
    AdifDataBase back;
    Read(back, Write(store, width));
    QCOMPARE(Contents(back), Contents(store));
}

void TestAdifWriter::onlySelected()
{
    AdifDataBase store;
    for (const char *call : { "A", "B", "C" })
        store.StoreRecord(Record(store, { QStringLiteral("CALL=") + QLatin1String(call) }));
    const QByteArray all = header + "<CALL:1>A<eor>\n\n<CALL:1>B<eor>\n\n<CALL:1>C<eor>\n\n";
    QCOMPARE(Write(store, 0, true), all); // no active selection: everything

    store.SelectMatching(0, QStringLiteral("[AC]"), false);
    QList<int> progress;
    QCOMPARE(Write(store, 0, true, [&](int n) { progress.append(n); }),
             header + "<CALL:1>A<eor>\n\n<CALL:1>C<eor>\n\n");
    QCOMPARE(progress, QList<int>({ 1, 2 }));
    QCOMPARE(Write(store, 0, false), all);

    store.DeselectMatching(0, QStringLiteral("*"), false);
    QCOMPARE(Write(store, 0, true), header);
}

void TestAdifWriter::writesTheLocalEncoding()
{
    // The suite runs with a UTF-8 locale; no byte-order mark is written.
    AdifDataBase store;
    store.StoreRecord(Record(store, { QString::fromUtf8("QTH=M\xc3\xb3stoles") }));
    const QByteArray written = Write(store);
    QVERIFY(written.startsWith("ADIF File"));
    QVERIFY(written.endsWith("<QTH:8>M\xc3\xb3stoles<eor>\n\n"));
}

void TestAdifWriter::leavesTheStoreAlone()
{
    AdifDataBase store;
    store.StoreRecord(Record(store, { "CALL=A" }));
    store.ClearRecords();
    store.StoreRecord(Record(store, { "CALL=A" }));
    QSignalSpy data(&store, &AdifDataBase::DataChanged);
    QSignalSpy adif(&store, &AdifDataBase::AdifChanged);
    QSignalSpy selection(&store, &AdifDataBase::SelectionChanged);
    Write(store);
    QTemporaryDir dir;
    QCOMPARE(store.WriteAdifFile(dir.filePath(QStringLiteral("out.adi")), 0, false, nullptr), 0);
    QCOMPARE(data.count() + adif.count() + selection.count(), 0);
    QVERIFY(store.IsModified());
    QCOMPARE(store.FieldCount(), 1);
}

void TestAdifWriter::files()
{
    QTemporaryDir dir;
    AdifDataBase store;
    store.StoreRecord(Record(store, { "CALL=DL1ABC", "GRIDSQUARE=JO62QM" }));
    const QString path = dir.filePath(QStringLiteral("log.adi"));
    QVERIFY(WriteFileBytes(path, QByteArray(10000, 'x')));
    QCOMPARE(store.WriteAdifFile(path, 0, false, nullptr), 0);
    QCOMPARE(ReadFileBytes(path), header + "<CALL:6>DL1ABC<GRIDSQUARE:6>JO62QM<eor>\n\n");

    QCOMPARE(store.WriteAdifFile(dir.filePath(QStringLiteral("missing/log.adi")), 0, false,
                                 nullptr),
             -1);
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("folder.adi"))));
    QCOMPARE(store.WriteAdifFile(dir.filePath(QStringLiteral("folder.adi")), 0, false, nullptr),
             -1);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.adi"))).isDir());
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QCOMPARE(store.WriteAdifFile(readOnly, 0, false, nullptr), -1);
}

void TestAdifWriter::roundTrip()
{
    AdifDataBase store;
    store.StoreRecord(
        Record(store,
               { "CALL=DL1ABC", "NOTES=a<b>c <eor> d", "QTH=  Bad   Ems\n\n",
                 QString::fromUtf8("NAME=\xf0\x9f\x98\x80 J\xc3\xbcrgen"), "EMPTY=" }));
    store.StoreRecord(AdifRecord());
    store.StoreRecord(Record(store, { "call=G4ZZT", "gridsquare=io91vl", "NOTES=line\r\nend" }));
    const QByteArray written = Write(store, 30);

    AdifDataBase back;
    Read(back, written);
    QCOMPARE(back.RecordCount(), 3);
    QList<QMap<QString, QString>> expected = Contents(store);
    for (auto &record : expected) {
        for (auto it = record.begin(); it != record.end(); ++it)
            it.value() = it.value().simplified();
    }
    QCOMPARE(Contents(back), expected);
    QCOMPARE(Contents(back).at(0).value(QStringLiteral("NOTES")), QStringLiteral("a<b>c <eor> d"));

    // Once read, values are simplified, and what is written reads back into
    // a store that writes the same text byte for byte.
    const QByteArray again = Write(back, 30);
    AdifDataBase third;
    Read(third, again);
    QCOMPARE(Write(third, 30), again);
}

void TestAdifWriter::roundTripOfRealLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir logs(QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs"));
    for (const QString &file : logs.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file;
}

void TestAdifWriter::roundTripOfRealLogs()
{
    QFETCH(QString, name);
    AdifDataBase store;
    QCOMPARE(store.ReadAdifFile(QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/") + name, nullptr,
                                nullptr),
             0);
    QVERIFY(store.RecordCount() > 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QCOMPARE(store.WriteAdifFile(path, 80, false, nullptr), 0);
    AdifDataBase back;
    QCOMPARE(back.ReadAdifFile(path, nullptr, nullptr), 0);
    QCOMPARE(Contents(back), Contents(store));
}

GRIDCOL_TEST_MAIN(TestAdifWriter)
#include "tst_adifwriter.moc"
