#include "testsupport.h"

#include "adif/adifdatabase.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

/// Reads ADIF text from memory into a store.
int Read(AdifDataBase &store, const QByteArray &bytes, const AdifProgress &progress = nullptr)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return store.ReadAdifFile(buffer, progress);
}

/// One line per record: its id, then "NAME=value" for each non-empty value
/// in catalogue order, separated by "|".
QStringList DumpStore(const AdifDataBase &store)
{
    QStringList lines;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QStringList parts { QString::number(record.id) };
        for (int f = 0; f < record.values.size(); ++f) {
            if (!record.values.at(f).isEmpty())
                parts.append(store.FieldName(f) + QLatin1Char('=') + record.values.at(f));
        }
        lines.append(parts.join(QLatin1Char('|')));
    }
    return lines;
}

QStringList FieldNames(const AdifDataBase &store)
{
    QStringList names;
    for (int i = 0; i < store.FieldCount(); ++i)
        names.append(store.FieldName(i));
    return names;
}

QString LogPath(const QString &name)
{
    return QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/") + name;
}

/// The number of end-of-record tags that lie wholly inside the first length bytes.
int CompleteRecords(const QByteArray &bytes, int length, const QByteArray &endTag)
{
    int count = 0;
    for (int at = bytes.indexOf(endTag); at >= 0 && at + endTag.size() <= length;
         at = bytes.indexOf(endTag, at + 1))
        ++count;
    return count;
}

/// The bytes of a literal, zero bytes included.
template <int N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

/// Lines of an expected-results file.
QStringList ExpectedLines(const QString &path)
{
    QStringList lines = QString::fromUtf8(ReadFileBytes(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

/// The size of the blocks the parser reads, to put characters on their border.
constexpr int readBlockSize = 1 << 20;

} // namespace

class TestAdifParser : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void tags_data();
    void tags();
    void encodings_data();
    void encodings();
    void lineEndsAcrossBlocks_data();
    void lineEndsAcrossBlocks();
    void progressAndSignals();
    void signalsStayOffWhenOff();
    void readAddsToTheStore();
    void valueListsFollowTheCatalogue();
    void knownFieldsKeepTheirPositions();
    void unreadableFile();
    void realLogs_data();
    void realLogs();

    void everyPrefixOfARealLog_data();
    void everyPrefixOfARealLog();
    void headerThatNeverEnds();
    void hugeAndBrokenLengths_data();
    void hugeAndBrokenLengths();
    void tenMegabytesWithoutATag();
    void binaryGarbage();
    void zeroBytes();
};

void TestAdifParser::tags_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("no header: the first tag belongs to the first record")
        << QByteArray("<CALL:6>N0CALL<eoh> x  y <BAND:2>2m<eor>")
        << QStringList { "1|CALL=N0CALL|EOH=x y|BAND=2m" } << QStringList { "CALL", "EOH", "BAND" };
    QTest::newRow("no header: eoh with an empty value")
        << QByteArray("<CALL:6>N0CALL<EOH><eor>") << QStringList { "1|CALL=N0CALL" }
        << QStringList { "CALL", "EOH" };
    QTest::newRow("header ended by <EOH>")
        << QByteArray("Log\n<ADIF_VER:5>3.1.0\n<EOH>\n<CALL:1>A<EOR>\n")
        << QStringList { "1|CALL=A" } << QStringList { "CALL" };
    QTest::newRow("header ended by <Eoh>") << QByteArray(" <Eoh><CALL:1>A<EoR>")
                                           << QStringList { "1|CALL=A" } << QStringList { "CALL" };
    QTest::newRow("header ended by <eoh>, first character a line end")
        << QByteArray("\n<eoh><call:1>A<eor>") << QStringList { "1|CALL=A" }
        << QStringList { "CALL" };
    QTest::newRow("a file of just <eoh> has no header and no record")
        << QByteArray("<eoh>") << QStringList {} << QStringList {};
    QTest::newRow("<eoh > does not end the header")
        << QByteArray("x<eoh ><CALL:1>A<eor>") << QStringList {} << QStringList {};
    QTest::newRow("header without end swallows everything")
        << QByteArray("ADIF\n<CALL:1>A<eor><CALL:1>B<eor>") << QStringList {} << QStringList {};
    QTest::newRow("<EOR>, <eor> and <EoR> end records")
        << QByteArray("<CALL:1>A<EOR><CALL:1>B<eor><CALL:1>C<EoR>")
        << QStringList { "1|CALL=A", "2|CALL=B", "3|CALL=C" } << QStringList { "CALL" };
    QTest::newRow("<EOR:0> is a skipped field")
        << QByteArray("<CALL:1>A<EOR:0> skipped <BAND:2>2m<eor>")
        << QStringList { "1|CALL=A|BAND=2m" } << QStringList { "CALL", "BAND" };
    QTest::newRow("< eor> is an open value of EOR")
        << QByteArray("<CALL:1>A< eor>x<eor>") << QStringList { "1|CALL=A|EOR=x" }
        << QStringList { "CALL", "EOR" };
    QTest::newRow("<eor > is an open value of EOR")
        << QByteArray("<CALL:1>A<eor > y <eor>") << QStringList { "1|CALL=A|EOR=y" }
        << QStringList { "CALL", "EOR" };
    QTest::newRow("data type indicator")
        << QByteArray("<CALL:6:S>N0CALL<eor><CALL:6>N0CALL<eor>")
        << QStringList { "1|CALL=N0CALL", "2|CALL=N0CALL" } << QStringList { "CALL" };
    QTest::newRow("anything up to > is the type")
        << QByteArray("<CALL:6:x:y z>N0CALL<eor>") << QStringList { "1|CALL=N0CALL" }
        << QStringList { "CALL" };
    QTest::newRow("length 0 stores nothing, text up to < skipped")
        << QByteArray("<CALL:0>N0CALL<BAND:2>2m<eor>") << QStringList { "1|BAND=2m" }
        << QStringList { "BAND" };
    QTest::newRow("length x stores nothing")
        << QByteArray("<CALL:x>N0CALL<eor>") << QStringList { "1" } << QStringList {};
    QTest::newRow("empty length stores nothing")
        << QByteArray("<CALL:>N0CALL<eor>") << QStringList { "1" } << QStringList {};
    QTest::newRow("blanks around the length")
        << QByteArray("<CALL: 6 >N0CALL<eor>") << QStringList { "1|CALL=N0CALL" }
        << QStringList { "CALL" };
    QTest::newRow("plus sign") << QByteArray("<CALL:+6>N0CALL<eor>")
                               << QStringList { "1|CALL=N0CALL" } << QStringList { "CALL" };
    QTest::newRow("two numbers are no number")
        << QByteArray("<CALL:1 6>N0CALL<eor>") << QStringList { "1" } << QStringList {};
    QTest::newRow("lower-case name, value simplified")
        << QByteArray("<call:7>n0call <eor>") << QStringList { "1|CALL=n0call" }
        << QStringList { "CALL" };
    QTest::newRow("< inside a counted value")
        << QByteArray("<NOTES:3>a<b<eor>") << QStringList { "1|NOTES=a<b" }
        << QStringList { "NOTES" };
    QTest::newRow("a counted value ends after n characters whatever follows")
        << QByteArray("<CALL:2>N0CALL<BAND:2>2m<eor>") << QStringList { "1|CALL=N0|BAND=2m" }
        << QStringList { "CALL", "BAND" };
    QTest::newRow("line end inside a counted value")
        << QByteArray("<NOTES:3>a\nb<eor>") << QStringList { "1|NOTES=a b" }
        << QStringList { "NOTES" };
    QTest::newRow("CR LF is one character")
        << QByteArray("<NOTES:3>a\r\nb<eor>") << QStringList { "1|NOTES=a b" }
        << QStringList { "NOTES" };
    QTest::newRow("a lone CR is a character")
        << QByteArray("<NOTES:3>a\rbc<eor>") << QStringList { "1|NOTES=a b" }
        << QStringList { "NOTES" };
    QTest::newRow("CR CR LF") << QByteArray("<NOTES:3>a\r\r\nb<eor>") << QStringList { "1|NOTES=a" }
                              << QStringList { "NOTES" };
    QTest::newRow("no-break spaces and tabs are white space too")
        << QByteArray("<NOTES:6>\ta\xc2\xa0\xc2\xa0" "b <eor>") << QStringList { "1|NOTES=a b" }
        << QStringList { "NOTES" };
    QTest::newRow("open value up to the next <")
        << QByteArray("<CALL>N0CALL  XY<BAND:2>2m<eor>")
        << QStringList { "1|CALL=N0CALL XY|BAND=2m" } << QStringList { "CALL", "BAND" };
    QTest::newRow("name simplified")
        << QByteArray("< call\t>x<eor>") << QStringList { "1|CALL=x" } << QStringList { "CALL" };
    QTest::newRow("< inside a name")
        << QByteArray("<A<B:1>x<eor>") << QStringList { "1|A<B=x" } << QStringList { "A<B" };
    QTest::newRow("empty name") << QByteArray("<:1>x<eor>") << QStringList { "1|=x" }
                                << QStringList { "" };
    QTest::newRow("text between tags is skipped")
        << QByteArray("<CALL:1>A garbage > here\n<BAND:2>2m  <eor> more\n")
        << QStringList { "1|CALL=A|BAND=2m" } << QStringList { "CALL", "BAND" };
    QTest::newRow("the later of two values wins")
        << QByteArray("<CALL:1>A<call:1>B<eor>") << QStringList { "1|CALL=B" }
        << QStringList { "CALL" };
    QTest::newRow("a record without its end tag is dropped")
        << QByteArray("<CALL:1>A<eor><CALL:1>B") << QStringList { "1|CALL=A" }
        << QStringList { "CALL" };
    QTest::newRow("a counted value cut short is dropped")
        << QByteArray("<CALL:1>A<eor><CALL:5>AB") << QStringList { "1|CALL=A" }
        << QStringList { "CALL" };
    QTest::newRow("end of input inside a tag")
        << QByteArray("<CALL:1>A<eor><BAND:2") << QStringList { "1|CALL=A" }
        << QStringList { "CALL" };
    QTest::newRow("two end tags in a row")
        << QByteArray("<CALL:1>A<eor><eor>") << QStringList { "1|CALL=A", "2" }
        << QStringList { "CALL" };
    QTest::newRow("empty input") << QByteArray() << QStringList {} << QStringList {};
    QTest::newRow("a lone <") << QByteArray("<") << QStringList {} << QStringList {};
    QTest::newRow("characters, not bytes, are counted")
        << QByteArray("<NAME:4>J\xc3\xbcrg<eor><NAME:5>J\xc3\xbcrg<eor><CALL:1>A<eor>")
        << QStringList { QString::fromUtf8("1|NAME=J\xc3\xbcrg"),
                         QString::fromUtf8("2|NAME=J\xc3\xbcrg<|CALL=A") }
        << QStringList { "NAME", "CALL" };
    QTest::newRow("outside the BMP a character counts two")
        << QByteArray("<NOTES:2>\xf0\x9f\x98\x80<eor>")
        << QStringList { QString::fromUtf8("1|NOTES=\xf0\x9f\x98\x80") } << QStringList { "NOTES" };
    QTest::newRow("a byte that is not UTF-8 is one character")
        << QByteArray("<QTH:3>M\xf3s<eor>") << QStringList { QStringLiteral("1|QTH=M\uFFFDs") }
        << QStringList { "QTH" };
}

void TestAdifParser::tags()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, records);
    QFETCH(QStringList, fields);

    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(DumpStore(AdifStore), records);
    QCOMPARE(FieldNames(AdifStore), fields);
}

void TestAdifParser::encodings_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("name");

    const QString jurgen = QString::fromUtf8("J\xc3\xbcrgen");
    QTest::newRow("UTF-8 without mark (the local encoding)")
        << QByteArray("<NAME:6>J\xc3\xbcrgen<eor>") << jurgen;
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xef\xbb\xbf<NAME:6>J\xc3\xbcrgen<eor>") << jurgen;
    QTest::newRow("UTF-8 with mark before a header")
        << QByteArray("\xef\xbb\xbfLog<eoh><NAME:6>J\xc3\xbcrgen<eor>") << jurgen;
    const QString text = QStringLiteral("<NAME:6>") + jurgen + QStringLiteral("<eor>");
    QByteArray utf16le("\xff\xfe");
    QByteArray utf16be("\xfe\xff");
    for (const QChar c : text) {
        utf16le += char(c.unicode() & 0xff);
        utf16le += char(c.unicode() >> 8);
        utf16be += char(c.unicode() >> 8);
        utf16be += char(c.unicode() & 0xff);
    }
    QTest::newRow("UTF-16 little endian with mark") << utf16le << jurgen;
    QTest::newRow("UTF-16 big endian with mark") << utf16be << jurgen;
    // A mark later in the file is an ordinary character, here the first of a header.
    QTest::newRow("a mark after the first character")
        << QByteArray(" \xef\xbb\xbf<eoh><NAME:1>x<eor>") << QStringLiteral("x");
}

void TestAdifParser::encodings()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, name);
    Read(AdifStore, input);
    QCOMPARE(AdifStore.RecordCount(), 1);
    QCOMPARE(AdifStore.GetRecord(0).Value(AdifStore.FieldIndex(QStringLiteral("NAME"))), name);
}

void TestAdifParser::lineEndsAcrossBlocks_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");

    // The first byte of value is the last byte of the first block read.
    QTest::newRow("CR LF split between blocks") << QByteArray("\r\ncd") << 5 << "ab cd";
    QTest::newRow("lone CR at the end of a block") << QByteArray("\rcd") << 4 << "ab c";
    QTest::newRow("CR at the end of a block, CR LF after") << QByteArray("\r\r\nd") << 5 << "ab d";
    QTest::newRow("a UTF-8 character split between blocks")
        << QByteArray("\xc3\xa4z") << 4 << QString::fromUtf8("ab\xc3\xa4z");
}

void TestAdifParser::lineEndsAcrossBlocks()
{
    QFETCH(QByteArray, value);
    QFETCH(int, length);
    QFETCH(QString, expected);

    const QByteArray tag = "<NOTES:" + QByteArray::number(length) + ">ab";
    QByteArray input(" <eoh>");
    input += QByteArray(readBlockSize - 1 - tag.size() - input.size(), ' ');
    input += tag + value + "<eor>";
    QCOMPARE(input.at(readBlockSize - 1), value.at(0));

    Read(AdifStore, input);
    QCOMPARE(AdifStore.RecordCount(), 1);
    QCOMPARE(AdifStore.GetRecord(0).Value(AdifStore.FieldIndex(QStringLiteral("NOTES"))), expected);
}

void TestAdifParser::progressAndSignals()
{
    QStringList events;
    QObject receiver; // disconnects when the test ends, however it ends
    connect(&AdifStore, &AdifDataBase::DataChanged, &receiver, [&] { events << "DataChanged"; });
    connect(&AdifStore, &AdifDataBase::AdifChanged, &receiver, [&] { events << "AdifChanged"; });
    connect(&AdifStore, &AdifDataBase::SelectionChanged, &receiver,
            [&] { events << "SelectionChanged"; });
    const AdifProgress progress = [&](int stored) {
        events << QStringLiteral("progress %1 of %2").arg(stored).arg(AdifStore.RecordCount());
    };

    Read(AdifStore, "<A:1>x<B:1>y<eor>\n<C:1>z<eor>\n<eor><D:1>cut", progress);
    QCOMPARE(events,
             QStringList({ "progress 1 of 1", "progress 2 of 2", "progress 3 of 3", "AdifChanged",
                           "DataChanged", "SelectionChanged" }));
    QVERIFY(AdifStore.SignalsEnabled());
    QVERIFY(AdifStore.IsModified());

    events.clear();
    Read(AdifStore, "header without end", progress);
    QCOMPARE(events, QStringList({ "AdifChanged", "DataChanged", "SelectionChanged" }));
}

void TestAdifParser::signalsStayOffWhenOff()
{
    AdifDataBase store;
    QSignalSpy data(&store, &AdifDataBase::DataChanged);
    QSignalSpy adif(&store, &AdifDataBase::AdifChanged);
    store.SetSignalsEnabled(false);
    Read(store, "<CALL:1>A<eor>");
    QVERIFY(!store.SignalsEnabled());
    QCOMPARE(data.count() + adif.count(), 0);
    QCOMPARE(store.RecordCount(), 1);
}

void TestAdifParser::readAddsToTheStore()
{
    AdifDataBase store;
    Read(store, "<CALL:1>A<eor>");
    Read(store, "<BAND:2>2m<eor><CALL:1>C<eor>");
    QCOMPARE(DumpStore(store), QStringList({ "1|CALL=A", "2|BAND=2m", "3|CALL=C" }));
}

void TestAdifParser::valueListsFollowTheCatalogue()
{
    // The first record starts without values; every later one with as many
    // empty values as the catalogue had when the record before it ended.
    AdifDataBase store;
    Read(store, "<A:1>x<eor><B:1>y<C:1>z<eor><eor>");
    QCOMPARE(store.GetRecord(0).values.size(), 1);
    QCOMPARE(store.GetRecord(1).values.size(), 3);
    QCOMPARE(store.GetRecord(2).values, QVector<QString>(3));
}

void TestAdifParser::knownFieldsKeepTheirPositions()
{
    QTemporaryDir dir;
    const QString catalogue = dir.filePath(QStringLiteral("adif.txt"));
    QVERIFY(WriteFileBytes(catalogue, "FREQ Freq\nCALL Call\n"));
    AdifStore.LoadFieldCatalogue(0, catalogue);
    Read(AdifStore, "<call:2>A1<Mode:2>CW<FREQ:5>144.3<eor>");
    QCOMPARE(FieldNames(AdifStore), QStringList({ "FREQ", "CALL", "MODE" }));
    QCOMPARE(AdifStore.FieldLabel(2), QStringLiteral("[Mode]"));
    QCOMPARE(AdifStore.GetRecord(0).values,
             QVector<QString>(
                 { QStringLiteral("144.3"), QStringLiteral("A1"), QStringLiteral("CW") }));
}

void TestAdifParser::unreadableFile()
{
    QTemporaryDir dir;
    Read(AdifStore, "<CALL:1>B<eor>");
    QSignalSpy data(&AdifStore, &AdifDataBase::DataChanged);
    QSignalSpy adif(&AdifStore, &AdifDataBase::AdifChanged);
    QCOMPARE(AdifStore.ReadAdifFile(dir.filePath(QStringLiteral("missing.adi")), nullptr, nullptr),
             -1);
    QCOMPARE(AdifStore.ReadAdifFile(dir.path(), nullptr, nullptr), -1);
    QBuffer closed;
    QCOMPARE(AdifStore.ReadAdifFile(closed, nullptr), -1);
    QCOMPARE(data.count() + adif.count(), 0);
    QCOMPARE(DumpStore(AdifStore), QStringList({ "1|CALL=B" }));
    QVERIFY(AdifStore.SignalsEnabled());
}

void TestAdifParser::realLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir expected(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected"),
                        QStringLiteral("*.store"));
    for (const QString &file : expected.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file.chopped(6);
}

void TestAdifParser::realLogs()
{
    QFETCH(QString, name);
    QCOMPARE(AdifStore.ReadAdifFile(LogPath(name), nullptr, nullptr), 0);
    QCOMPARE(DumpStore(AdifStore),
             ExpectedLines(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected/") + name
                           + QStringLiteral(".store")));
}

void TestAdifParser::everyPrefixOfARealLog_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("endTag");
    QTest::newRow("CR line ends, no header") << "EA5WA_ULTIMS.ADI" << QByteArray("<EOR>");
    QTest::newRow("CR LF line ends, header")
        << "2021-08-16-G8TJZ-RS-44-Satellite.adi" << QByteArray("<EOR>");
    QTest::newRow("lower-case tags, blank lines") << "LU7HF.adi" << QByteArray("<eor>");
}

void TestAdifParser::everyPrefixOfARealLog()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, endTag);

    const QByteArray whole = ReadFileBytes(LogPath(name));
    AdifDataBase full;
    Read(full, whole);
    QVERIFY(full.RecordCount() > 0);
    QCOMPARE(full.RecordCount(), CompleteRecords(whole, whole.size(), endTag));

    for (int length = 0; length <= whole.size(); ++length) {
        AdifDataBase store;
        QCOMPARE(Read(store, whole.left(length)), 0);
        // Complete records come out as in the whole file; a cut record is dropped.
        const int records = CompleteRecords(whole, length, endTag);
        QCOMPARE(store.RecordCount(), records);
        for (int i = 0; i < records; ++i) {
            const AdifRecord record = store.GetRecord(i);
            const AdifRecord expected = full.GetRecord(i);
            for (int f = 0; f < store.FieldCount(); ++f)
                QCOMPARE(record.Value(f), expected.Value(full.FieldIndex(store.FieldName(f))));
        }
    }
}

void TestAdifParser::headerThatNeverEnds()
{
    QByteArray input("ADIF export of a log whose header never ends\n<EOH\n");
    while (input.size() < 2 * readBlockSize)
        input += "<CALL:6>N0CALL <QSO_DATE:8>20260101 <eoh <EOR>\n";
    QSignalSpy data(&AdifStore, &AdifDataBase::DataChanged);
    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(AdifStore.RecordCount(), 0);
    QCOMPARE(AdifStore.FieldCount(), 0);
    QCOMPARE(data.count(), 1);
}

void TestAdifParser::hugeAndBrokenLengths_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("records");

    const QByteArray many(3 * readBlockSize, 'x');
    QTest::newRow("two thousand million, cut by the end")
        << "<CALL:1>A<eor><NOTES:2000000000>" + many + "<eor>" << QStringList { "1|CALL=A" };
    QTest::newRow("largest int, cut by the end")
        << QByteArray("<NOTES:2147483647>N0CALL<eor>") << QStringList {};
    QTest::newRow("one beyond int")
        << QByteArray("<NOTES:2147483648>N0CALL<CALL:1>A<eor>") << QStringList { "1|CALL=A" };
    QTest::newRow("twenty digits") << QByteArray("<NOTES:99999999999999999999>N0CALL<CALL:1>A<eor>")
                                   << QStringList { "1|CALL=A" };
    QTest::newRow("negative") << QByteArray("<NOTES:-5>N0CALL<CALL:1>A<eor>")
                              << QStringList { "1|CALL=A" };
    QTest::newRow("smallest int") << QByteArray("<NOTES:-2147483648>N0CALL<CALL:1>A<eor>")
                                  << QStringList { "1|CALL=A" };
    QTest::newRow("a length that never ends")
        << "<NOTES:" + QByteArray(2 * readBlockSize, '9') << QStringList {};
    QTest::newRow("a name that never ends")
        << "<" + QByteArray(2 * readBlockSize, 'N') << QStringList {};
    QTest::newRow("a type that never ends")
        << "<CALL:1>A<eor><NOTES:5:" + many << QStringList { "1|CALL=A" };
    QTest::newRow("a long counted value") << "<NOTES:3145728>" + many
            + "<eor>" << QStringList { QStringLiteral("1|NOTES=") + QString::fromLatin1(many) };
}

void TestAdifParser::hugeAndBrokenLengths()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, records);
    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(DumpStore(AdifStore), records);
}

void TestAdifParser::tenMegabytesWithoutATag()
{
    QByteArray text;
    text.reserve(10 * 1000 * 1000 + 16);
    while (text.size() < 10 * 1000 * 1000)
        text += "a line of text without any tag, CR LF ended >\r\n";

    // As a header that never ends.
    QCOMPARE(Read(AdifStore, text), 0);
    QCOMPARE(AdifStore.RecordCount(), 0);

    // As an open value, first cut by the end, then ended by a tag.
    AdifDataBase store;
    Read(store, "<NOTES>" + text);
    QCOMPARE(store.RecordCount(), 0);
    Read(store, "<NOTES>" + text + "<eor>");
    QCOMPARE(store.RecordCount(), 1);
    const QString notes = store.GetRecord(0).Value(0);
    QVERIFY(
        notes.startsWith(QStringLiteral("a line of text without any tag, CR LF ended > a line")));
    QCOMPARE(notes.count(QLatin1Char('>')), text.count('>'));
}

void TestAdifParser::binaryGarbage()
{
    QRandomGenerator random(20260615);
    QByteArray garbage(4 * readBlockSize, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    // Sprinkle tag characters so that every state is visited often.
    for (int i = 0; i < garbage.size(); i += 97)
        garbage[i] = "<:>\r\n"[(i / 97) % 5];
    for (int i = 0; i < garbage.size(); i += 4099)
        garbage.replace(i, 5, "<eor>");

    for (const QByteArray &input : { garbage, "<CALL:1>A<eor>" + garbage, "x<eoh>" + garbage }) {
        AdifDataBase store;
        int calls = 0;
        QCOMPARE(Read(store, input, [&](int) { ++calls; }), 0);
        QCOMPARE(store.RecordCount(), calls);
        QVERIFY(store.RecordCount() > 0);
        for (int i = 0; i < store.RecordCount(); ++i)
            QVERIFY(store.GetRecord(i).values.size() <= store.FieldCount());
    }
}

void TestAdifParser::zeroBytes()
{
    const QByteArray input = Bytes("<CALL:6>N0\0CAL <NOTES>a\0b<eor>\0\0<BAND:2>2m\0<eor>");
    QCOMPARE(input.count('\0'), 5);
    Read(AdifStore, input);
    QCOMPARE(AdifStore.RecordCount(), 2);
    QCOMPARE(AdifStore.GetRecord(0).Value(0), QString::fromLatin1("N0\0CAL", 6));
    QCOMPARE(AdifStore.GetRecord(0).Value(1), QString::fromLatin1("a\0b", 3));
    QCOMPARE(AdifStore.GetRecord(1).Value(2), QStringLiteral("2m"));

    // A zero byte first starts a header.
    AdifDataBase store;
    Read(store, Bytes("\0<CALL:1>A<eor>"));
    QCOMPARE(store.RecordCount(), 0);
}

GRIDCOL_TEST_MAIN(TestAdifParser)
#include "tst_adifparser.moc"
