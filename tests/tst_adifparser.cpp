#include "testsupport.h"

#include "adif/adifdatabase.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCodec>

namespace {

/// The size of the blocks the parser reads, to put characters on their border.
constexpr int readBlockSize = 1 << 20;

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
QStringList Records(const AdifDataBase &store)
{
    QStringList lines;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QStringList parts { QString::number(record.id) };
        for (int f = 0; f < record.ValueCount(); ++f) {
            if (!record.Value(f).isEmpty())
                parts << store.FieldName(f) + QLatin1Char('=') + record.Value(f);
        }
        lines << parts.join(QLatin1Char('|'));
    }
    return lines;
}

/// "[catalogue] record / record ...", the records as Records() writes them.
QString Parsed(const AdifDataBase &store)
{
    QStringList names;
    for (int i = 0; i < store.FieldCount(); ++i)
        names << store.FieldName(i);
    const QStringList records = Records(store);
    return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']')
        + (records.isEmpty() ? QString() : QLatin1Char(' ') + records.join(QStringLiteral(" / ")));
}

/// The bytes of a literal, zero bytes included.
template <int N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

/// A row of input bytes and what Parsed() shows after reading them.
void Row(const char *name, const QByteArray &input, const QString &parsed)
{
    QTest::newRow(name) << input << parsed;
}

void ReadAndCompare()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, parsed);
    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(Parsed(AdifStore), parsed);
}

QString LogPath(const QString &name)
{
    return QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/") + name;
}

} // namespace

class TestAdifParser : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void tags_data();
    void tags() { ReadAndCompare(); }
    void hostileInput_data();
    void hostileInput() { ReadAndCompare(); }
    void progressAndSignals();
    void readsIntoTheCatalogue();
    void realLogs_data();
    void realLogs();
    void everyPrefixOfARealLog_data();
    void everyPrefixOfARealLog();
    void binaryGarbage();
};

void TestAdifParser::tags_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("parsed");

    Row("no header: the first tag belongs to the first record", "<CALL:6>N0CALL<eoh> x  y <BAND:2>2m<eor>",
        "[CALL,EOH,BAND] 1|CALL=N0CALL|EOH=x y|BAND=2m");
    Row("no header: eoh with an empty value", "<CALL:6>N0CALL<EOH><eor>", "[CALL,EOH] 1|CALL=N0CALL");
    Row("header ended by <EOH>", "Log\n<ADIF_VER:5>3.1.0\n<EOH>\n<CALL:1>A<EOR>\n", "[CALL] 1|CALL=A");
    Row("header ended by <eoh>, first character a line end", "\n<eoh><call:1>A<eor>", "[CALL] 1|CALL=A");
    Row("a file of just <eoh> has no header and no record", "<eoh>", "[]");
    Row("<eoh > does not end the header", "x<eoh ><CALL:1>A<eor>", "[]");
    Row("nor does <e>oh>", "x<e>oh><CALL:1>A<eor>", "[]");
    Row("header without end swallows everything", "ADIF\n<CALL:1>A<eor><CALL:1>B<eor>", "[]");
    Row("<EOR>, <eor> and <EoR> end records", "<CALL:1>A<EOR><CALL:1>B<eor><CALL:1>C<EoR>",
        "[CALL] 1|CALL=A / 2|CALL=B / 3|CALL=C");
    Row("<EOR:0> is a skipped field", "<CALL:1>A<EOR:0> skipped <BAND:2>2m<eor>", "[CALL,BAND] 1|CALL=A|BAND=2m");
    Row("< eor> is an open value of EOR", "<CALL:1>A< eor>x<eor>", "[CALL,EOR] 1|CALL=A|EOR=x");
    Row("<eor > is an open value of EOR", "<CALL:1>A<eor > y <eor>", "[CALL,EOR] 1|CALL=A|EOR=y");
    Row("data type indicators, anything up to >", "<CALL:6:S>N0CALL<eor><CALL:6:x:y z>N1CALL<eor>",
        "[CALL] 1|CALL=N0CALL / 2|CALL=N1CALL");
    Row("length 0 stores nothing, text up to < skipped", "<CALL:0>N0CALL<BAND:2>2m<eor>", "[BAND] 1|BAND=2m");
    Row("length x stores nothing", "<CALL:x>N0CALL<eor>", "[] 1");
    Row("empty length stores nothing", "<CALL:>N0CALL<eor>", "[] 1");
    Row("blanks around the length", "<CALL: 6 >N0CALL<eor>", "[CALL] 1|CALL=N0CALL");
    Row("plus sign", "<CALL:+6>N0CALL<eor>", "[CALL] 1|CALL=N0CALL");
    Row("two numbers are no number", "<CALL:1 6>N0CALL<eor>", "[] 1");
    Row("lower-case name, value simplified", "<call:7>n0call <eor>", "[CALL] 1|CALL=n0call");
    Row("< inside a counted value", "<NOTES:3>a<b<eor>", "[NOTES] 1|NOTES=a<b");
    Row("a counted value ends after n characters whatever follows", "<CALL:2>N0CALL<BAND:2>2m<eor>",
        "[CALL,BAND] 1|CALL=N0|BAND=2m");
    Row("line end inside a counted value", "<NOTES:3>a\nb<eor>", "[NOTES] 1|NOTES=a b");
    Row("CR LF is one character", "<NOTES:3>a\r\nb<eor>", "[NOTES] 1|NOTES=a b");
    Row("a lone CR is a character", "<NOTES:3>a\rbc<eor>", "[NOTES] 1|NOTES=a b");
    Row("CR CR LF", "<NOTES:3>a\r\r\nb<eor>", "[NOTES] 1|NOTES=a");
    Row("no-break spaces and tabs are white space too", "<NOTES:6>\ta\xc2\xa0\xc2\xa0" "b <eor>",
        "[NOTES] 1|NOTES=a b");
    Row("open value up to the next <", "<CALL>N0CALL  XY<BAND:2>2m<eor>", "[CALL,BAND] 1|CALL=N0CALL XY|BAND=2m");
    Row("name simplified", "< my \t call\t>x<eor>", "[MY CALL] 1|MY CALL=x");
    Row("< inside a name", "<A<B:1>x<eor>", "[A<B] 1|A<B=x");
    Row("empty name", "<:1>x<eor>", "[] 1|=x");
    Row("text between tags is skipped", "<CALL:1>A garbage > here\n<BAND:2>2m  <eor> more\n",
        "[CALL,BAND] 1|CALL=A|BAND=2m");
    Row("the later of two values wins", "<CALL:1>A<call:1>B<eor>", "[CALL] 1|CALL=B");
    Row("a record without its end tag is dropped", "<CALL:1>A<eor><CALL:1>B", "[CALL] 1|CALL=A");
    Row("a counted value cut short is dropped", "<CALL:1>A<eor><CALL:5>AB", "[CALL] 1|CALL=A");
    Row("end of input inside a tag", "<CALL:1>A<eor><BAND:2", "[CALL] 1|CALL=A");
    Row("two end tags in a row", "<CALL:1>A<eor><eor>", "[CALL] 1|CALL=A / 2");
    Row("empty input", "", "[]");
    Row("a lone <", "<", "[]");
    Row("characters, not bytes, are counted", "<NAME:4>J\xc3\xbcrg<eor><NAME:5>J\xc3\xbcrg<eor><CALL:1>A<eor>",
        QString::fromUtf8("[NAME,CALL] 1|NAME=J\xc3\xbcrg / 2|NAME=J\xc3\xbcrg<|CALL=A"));
    Row("outside the BMP a character counts two", "<NOTES:2>\xf0\x9f\x98\x80<eor>",
        QString::fromUtf8("[NOTES] 1|NOTES=\xf0\x9f\x98\x80"));
    Row("a byte that is not UTF-8 is one character", "<QTH:3>M\xf3s<eor>", QStringLiteral("[QTH] 1|QTH=M\uFFFDs"));

    // A byte-order mark at the start names the encoding; later it is an ordinary character.
    const QString jurgen = QString::fromUtf8("[NAME] 1|NAME=J\xc3\xbcrgen");
    Row("UTF-8 with mark", "\xef\xbb\xbf<NAME:6>J\xc3\xbcrgen<eor>", jurgen);
    Row("UTF-8 with mark before a header", "\xef\xbb\xbfLog<eoh><NAME:6>J\xc3\xbcrgen<eor>", jurgen);
    const QString text = QString::fromUtf8("<NAME:6>J\xc3\xbcrgen<eor>");
    // Qt's UTF-16 encoders write the mark first.
    Row("UTF-16 little endian with mark", QTextCodec::codecForName("UTF-16LE")->fromUnicode(text), jurgen);
    Row("UTF-16 big endian with mark", QTextCodec::codecForName("UTF-16BE")->fromUnicode(text), jurgen);
    Row("a mark after the first character", " \xef\xbb\xbf<eoh><NAME:1>x<eor>", "[NAME] 1|NAME=x");
}

void TestAdifParser::hostileInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("parsed");

    // Declared lengths: a value only grows with the characters actually read.
    const QByteArray many(3 * readBlockSize, 'x');
    Row("two thousand million, cut by the end", "<CALL:1>A<eor><NOTES:2000000000>" + many + "<eor>",
        "[CALL] 1|CALL=A");
    Row("largest int, cut by the end", "<NOTES:2147483647>N0CALL<eor>", "[]");
    Row("one beyond int", "<NOTES:2147483648>N0CALL<CALL:1>A<eor>", "[CALL] 1|CALL=A");
    Row("2^32 + 1 does not wrap round to 1", "<NOTES:4294967297>N0CALL<CALL:1>A<eor>", "[CALL] 1|CALL=A");
    Row("twenty digits", "<NOTES:99999999999999999999>N0CALL<CALL:1>A<eor>", "[CALL] 1|CALL=A");
    Row("negative", "<NOTES:-5>N0CALL<CALL:1>A<eor>", "[CALL] 1|CALL=A");
    Row("smallest int", "<NOTES:-2147483648>N0CALL<CALL:1>A<eor>", "[CALL] 1|CALL=A");
    Row("a long counted value", "<NOTES:3145728>" + many + "<eor>",
        QStringLiteral("[NOTES] 1|NOTES=") + QString::fromLatin1(many));

    // Tags, headers and values that never end.
    Row("a length that never ends", "<NOTES:" + QByteArray(2 * readBlockSize, '9'), "[]");
    Row("a name that never ends", "<" + QByteArray(2 * readBlockSize, 'N'), "[]");
    Row("a type that never ends", "<CALL:1>A<eor><NOTES:5:" + many, "[CALL] 1|CALL=A");
    QByteArray header("ADIF export of a log whose header never ends\n<EOH\n");
    while (header.size() < 2 * readBlockSize)
        header += "<CALL:6>N0CALL <QSO_DATE:8>20260101 <eoh <EOR>\n";
    Row("a header that never ends", header, "[]");
    const QString line = QStringLiteral("a line of text without any tag, CR LF ended >");
    const int lines = 10 * 1000 * 1000 / line.size();
    const QByteArray text = QString(line + QStringLiteral("\r\n")).repeated(lines).toLatin1();
    Row("10 MB without a tag as a header", text, "[]");
    Row("10 MB as an open value cut by the end", "<NOTES>" + text, "[]");
    Row("10 MB as an open value", "<NOTES>" + text + "<eor>",
        QStringLiteral("[NOTES] 1|NOTES=") + QString(line + QLatin1Char(' ')).repeated(lines).chopped(1));

    // Line ends and characters on the border of two blocks read: the first
    // byte of value is the last byte of the first block.
    const auto border = [](const char *name, const QByteArray &value, int length, const QString &notes) {
        const QByteArray tag = "<NOTES:" + QByteArray::number(length) + ">ab";
        const QByteArray start = " <eoh>" + QByteArray(readBlockSize - 7 - tag.size(), ' ') + tag;
        QCOMPARE(start.size(), readBlockSize - 1);
        Row(name, start + value + "<eor>", QStringLiteral("[NOTES] 1|NOTES=") + notes);
    };
    border("CR LF split between blocks", "\r\ncd", 5, "ab cd");
    border("lone CR at the end of a block", "\rcd", 4, "ab c");
    border("CR at the end of a block, CR LF after", "\r\r\nd", 5, "ab d");
    border("a UTF-8 character split between blocks", "\xc3\xa4z", 4, QString::fromUtf8("ab\xc3\xa4z"));

    // Zero bytes are characters; first they start a header.
    const QByteArray zeros = Bytes("[CALL,NOTES,BAND] 1|CALL=N0\0CAL|NOTES=a\0b / 2|BAND=2m");
    Row("zero bytes", Bytes("<CALL:6>N0\0CAL <NOTES>a\0b<eor>\0\0<BAND:2>2m\0<eor>"),
        QString::fromLatin1(zeros.constData(), zeros.size()));
    Row("a zero byte first", Bytes("\0<CALL:1>A<eor>"), "[]");
}

void TestAdifParser::progressAndSignals()
{
    QStringList events;
    QObject receiver; // disconnects when the test ends, however it ends
    connect(&AdifStore, &AdifDataBase::DataChanged, &receiver, [&] { events << "DataChanged"; });
    connect(&AdifStore, &AdifDataBase::AdifChanged, &receiver, [&] { events << "AdifChanged"; });
    connect(&AdifStore, &AdifDataBase::SelectionChanged, &receiver, [&] { events << "SelectionChanged"; });
    const AdifProgress progress = [&](int stored) {
        events << QStringLiteral("progress %1 of %2").arg(stored).arg(AdifStore.RecordCount());
    };

    Read(AdifStore, "<A:1>x<B:1>y<eor>\n<C:1>z<eor>\n<eor><D:1>cut", progress);
    QCOMPARE(events, QStringList({ "progress 1 of 1", "progress 2 of 2", "progress 3 of 3", "AdifChanged",
                                   "DataChanged", "SelectionChanged" }));
    QVERIFY(AdifStore.SignalsEnabled());
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
    QVERIFY(AdifStore.SignalsEnabled());

    // Switched off, the signals stay off.
    AdifStore.SetSignalsEnabled(false);
    Read(AdifStore, "<CALL:1>A<eor>");
    QCOMPARE(events, QStringList());
    QVERIFY(!AdifStore.SignalsEnabled());
    QCOMPARE(Parsed(AdifStore), QStringLiteral("[A,B,C,D,CALL] 1|A=x|B=y / 2|C=z / 3 / 4|CALL=A"));
}

void TestAdifParser::readsIntoTheCatalogue()
{
    // Known fields keep their positions; each read adds records under new
    // ids. The first record of a read starts without values, every later
    // one with as many empty values as the catalogue had then.
    QTemporaryDir dir;
    const QString catalogue = dir.filePath(QStringLiteral("adif.txt"));
    QVERIFY(WriteFileBytes(catalogue, "FREQ Freq\nCALL Call\n"));
    AdifStore.LoadFieldCatalogue(0, catalogue);
    Read(AdifStore, "<call:2>A1<Mode:2>CW<FREQ:5>144.3<eor><eor>");
    Read(AdifStore, "<BAND:2>2m<eor>");
    QCOMPARE(Parsed(AdifStore), QStringLiteral("[FREQ,CALL,MODE,BAND] 1|FREQ=144.3|CALL=A1|MODE=CW / 2 / 3|BAND=2m"));
    QList<int> sizes;
    for (int i = 0; i < AdifStore.RecordCount(); ++i)
        sizes << AdifStore.GetRecord(i).ValueCount();
    QCOMPARE(sizes, QList<int>({ 3, 3, 4 }));
    QCOMPARE(AdifStore.FieldLabel(2), QStringLiteral("[Mode]"));
}

void TestAdifParser::realLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir expected(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected"), QStringLiteral("*.store"));
    for (const QString &file : expected.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file.chopped(6);
}

void TestAdifParser::realLogs()
{
    QFETCH(QString, name);
    QCOMPARE(AdifStore.ReadAdifFile(LogPath(name), nullptr, nullptr), 0);
    COMPARE_TEXT(Records(AdifStore).join(QLatin1Char('\n')).toUtf8() + '\n',
                 ReadFileBytes(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected/") + name + QStringLiteral(".store")));
}

void TestAdifParser::everyPrefixOfARealLog_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("CR line ends, no header") << "EA5WA_ULTIMS.ADI";
    QTest::newRow("CR LF line ends, header") << "2021-08-16-G8TJZ-RS-44-Satellite.adi";
    QTest::newRow("lower-case tags, blank lines") << "LU7HF.adi";
}

void TestAdifParser::everyPrefixOfARealLog()
{
    QFETCH(QString, name);
    const QByteArray whole = ReadFileBytes(LogPath(name));
    AdifDataBase full;
    Read(full, whole);
    QVERIFY(full.RecordCount() > 0);
    for (int length = 0; length <= whole.size(); ++length) {
        AdifDataBase store;
        QCOMPARE(Read(store, whole.left(length)), 0);
        // Complete records come out as in the whole file; a cut record is dropped.
        const int records = whole.left(length).toLower().count("<eor>");
        QCOMPARE(store.RecordCount(), records);
        for (int i = 0; i < records; ++i) {
            for (int f = 0; f < store.FieldCount(); ++f)
                QCOMPARE(store.GetRecord(i).Value(f), full.GetRecord(i).Value(full.FieldIndex(store.FieldName(f))));
        }
    }
    QCOMPARE(full.RecordCount(), whole.toLower().count("<eor>"));
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
            QVERIFY(store.GetRecord(i).ValueCount() <= store.FieldCount());
    }
}

GRIDCOL_TEST_MAIN(TestAdifParser)
#include "tst_adifparser.moc"
