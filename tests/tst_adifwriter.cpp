#include "testsupport.h"

#include "adif/adifdatabase.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

namespace {

const QByteArray header = "ADIF File exported by Pevrax\n15-Jun-2026 12:00\n<eoh>";

/// Stores records written "NAME=value;NAME=value" and separated by "|",
/// finding or adding the fields by name.
void Store(AdifDataBase &store, const QString &records)
{
    for (const QString &text : records.split(QLatin1Char('|'))) {
        AdifRecord record;
        for (const QString &value : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const int position = store.FieldIndex(value.section(QLatin1Char('='), 0, 0));
            record.SetValue(position, value.section(QLatin1Char('='), 1));
        }
        store.StoreRecord(record);
    }
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

/// Every record as a map from field name to its non-empty value, simplified
/// as the parser stores it where simplify is set.
QList<QMap<QString, QString>> Contents(const AdifDataBase &store, bool simplify = false)
{
    QList<QMap<QString, QString>> records;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QMap<QString, QString> fields;
        for (int f = 0; f < record.ValueCount() && f < store.FieldCount(); ++f) {
            if (!record.Value(f).isEmpty())
                fields.insert(store.FieldName(f), simplify ? record.Value(f).simplified() : record.Value(f));
        }
        records << fields;
    }
    return records;
}

} // namespace

class TestAdifWriter : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void records_data();
    void records();
    void files();
    void roundTrip();
    void roundTripOfLogs_data();
    void roundTripOfLogs();
};

void TestAdifWriter::records_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<QString>("select"); // a pattern for the first field, written with onlySelected
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("no records, just the header") << "" << 0 << "" << QByteArray();
    QTest::newRow("catalogue order, not the order values were set")
        << "CALL=A|QSO_DATE=20260101;CALL=N0CALL" << 0 << ""
        << QByteArray("<CALL:1>A<eor>\n\n<CALL:6>N0CALL<QSO_DATE:8>20260101<eor>\n\n");
    QTest::newRow("empty values and missing positions write nothing")
        << "CALL=A1;BAND=|MODE=CW" << 0 << "" << QByteArray("<CALL:2>A1<eor>\n\n<MODE:2>CW<eor>\n\n");
    QTest::newRow("a record without values") << "|CALL=B" << 0 << "" << QByteArray("<eor>\n\n<CALL:1>B<eor>\n\n");
    QTest::newRow("names upper case, lengths in characters, the local encoding")
        << QString::fromUtf8("name=J\xc3\xbcrgen \xf0\x9f\x98\x80") << 0 << ""
        << QByteArray("<NAME:9>J\xc3\xbcrgen \xf0\x9f\x98\x80<eor>\n\n");
    QTest::newRow("values as they are, blanks and line ends included")
        << "NOTES= a <b>\n c " << 0 << "" << QByteArray("<NOTES:10> a <b>\n c <eor>\n\n");
    QTest::newRow("CR LF inside a value is written as LF")
        << "NOTES=a\r\nb\rc" << 0 << "" << QByteArray("<NOTES:5>a\nb\rc<eor>\n\n");
    QTest::newRow("only the selected records")
        << "CALL=A|CALL=B|CALL=C" << 0 << "[AC]" << QByteArray("<CALL:1>A<eor>\n\n<CALL:1>C<eor>\n\n");
    QTest::newRow("a selection without records") << "CALL=A|CALL=B" << 0 << "X" << QByteArray();

    // Tags of 12 characters; a line ends where the tags since the last line end are longer than the width.
    const QString tags = QStringLiteral("CALL=ABCD;BAND=70CM;MODE=RTTY");
    QTest::newRow("width 0: no line ends")
        << tags << 0 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 20: after the second tag")
        << tags << 20 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM\n<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 24: exactly full is not more")
        << tags << 24 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY\n<eor>\n\n");
    QTest::newRow("negative width: after every tag")
        << tags << -1 << "" << QByteArray("<CALL:4>ABCD\n<BAND:4>70CM\n<MODE:4>RTTY\n<eor>\n\n");
}

void TestAdifWriter::records()
{
    QFETCH(QString, records);
    QFETCH(int, lineWidth);
    QFETCH(QString, select);
    QFETCH(QByteArray, written);

    AdifDataBase store;
    if (!records.isEmpty())
        Store(store, records);
    // Without an active selection onlySelected writes every record.
    const QByteArray all = Write(store, lineWidth);
    if (!select.isEmpty())
        store.SelectMatching(0, select, false);
    QList<int> progress;
    COMPARE_TEXT(Write(store, lineWidth, true, [&](int n) { progress << n; }), header + written);
    QCOMPARE(progress.size(), int(written.count("<eor>")));
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i), i + 1);
    QCOMPARE(Write(store, lineWidth), all);
}

void TestAdifWriter::files()
{
    QTemporaryDir dir;
    AdifDataBase store;
    Store(store, QStringLiteral("CALL=DL1ABC;GRIDSQUARE=JO62QM"));
    const QString path = dir.filePath(QStringLiteral("log.adi"));
    QVERIFY(WriteFileBytes(path, QByteArray(10000, 'x')));
    QCOMPARE(store.WriteAdifFile(path, 0, false, nullptr), 0);
    QCOMPARE(ReadFileBytes(path), header + "<CALL:6>DL1ABC<GRIDSQUARE:6>JO62QM<eor>\n\n");

    QCOMPARE(store.WriteAdifFile(dir.filePath(QStringLiteral("missing/log.adi")), 0, false, nullptr), -1);
    const QString folder = dir.filePath(QStringLiteral("folder.adi"));
    QVERIFY(QDir().mkdir(folder));
    QCOMPARE(store.WriteAdifFile(folder, 0, false, nullptr), -1);
    QVERIFY(QFileInfo(folder).isDir());
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QCOMPARE(store.WriteAdifFile(readOnly, 0, false, nullptr), -1);
    // A write that fails is reported, here on a device that is always full.
    QFile full(QStringLiteral("/dev/full"));
    if (full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        QCOMPARE(store.WriteAdifFile(full, 0, false, nullptr), -1);
}

void TestAdifWriter::roundTrip()
{
    AdifDataBase store;
    Store(store, QString::fromUtf8("CALL=DL1ABC;NOTES=a<b>c <eor> d;QTH=  Bad   Ems\n\n;"
                                   "NAME=\xf0\x9f\x98\x80 J\xc3\xbcrgen;EMPTY=||"
                                   "call=G4ZZT;gridsquare=io91vl;NOTES=line\r\nend"));
    const QByteArray written = Write(store, 30);

    // Read back, the values are those written, simplified.
    AdifDataBase back;
    Read(back, written);
    QCOMPARE(back.RecordCount(), 3);
    QCOMPARE(Contents(back), Contents(store, true));

    // What was read once writes the same text byte for byte after another round.
    const QByteArray again = Write(back, 30);
    AdifDataBase third;
    Read(third, again);
    QCOMPARE(Write(third, 30), again);
}

void TestAdifWriter::roundTripOfLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir logs(QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs"));
    for (const QString &file : logs.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file;
}

void TestAdifWriter::roundTripOfLogs()
{
    QFETCH(QString, name);
    AdifDataBase store;
    QCOMPARE(store.ReadAdifFile(QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/") + name, nullptr, nullptr), 0);
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
