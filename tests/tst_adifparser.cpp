// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "piecedevice.h"
#include "testsupport.h"

#include <QDir>
#include <QMap>
#include <QTextCodec>

/*
 * The ADIF parser's state machine as rows of input bytes, and real logs read
 * whole, cut short and in pieces.
 */

namespace {

/// The size of the blocks the parser reads, to put characters on their border.
constexpr int readBlockSize = 1 << 20;

/// The bytes of a literal, zero bytes included.
template<int N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

void Row(const char *name, const QByteArray &input, const QString &parsed)
{
    QTest::newRow(name) << input << parsed;
}

} // namespace

class TestAdifParser : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void tags_data();
    void tags();
    void hostileInput_data();
    void hostileInput() { tags(); }
    void realLogs_data();
    void realLogs();
    void everyPrefixOfARealLog_data();
    void everyPrefixOfARealLog();
    void inPieces_data();
    void inPieces();
    void brokenCharactersCutAnywhere();
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
    Row("no-break spaces and tabs are white space too",
        "<NOTES:6>\ta\xc2\xa0\xc2\xa0" "b <eor>",
        "[NOTES] 1|NOTES=a b");
    Row("open value up to the next <", "<CALL>N0CALL  XY<BAND:2>2m<eor>", "[CALL,BAND] 1|CALL=N0CALL XY|BAND=2m");
    Row("name simplified", "< my \t call\t>x<eor>", "[MY CALL] 1|MY CALL=x");
    Row("< inside a name", "<A<B:1>x<eor>", "[A<B] 1|A<B=x");
    Row("empty name", "<:1>x<eor>", "[] 1|=x");
    Row("text between tags is skipped", "<CALL:1>A garbage > here\n<BAND:2>2m  <eor> more\n",
        "[CALL,BAND] 1|CALL=A|BAND=2m");
    Row("the later of two values wins", "<CALL:1>A<call:1>B<eor>", "[CALL] 1|CALL=B");
    Row("fields in another order, a value twice", "<A:1>1<B:1>2<C:1>3<eor><C:1>4<B:1>x<A:1>6<B:1>5<eor>",
        "[A,B,C] 1|A=1|B=2|C=3 / 2|A=6|B=5|C=4");
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
    // The mark written here: Qt 5's UTF-16 encoders write it, Qt 6's do not.
    QTextCodec::ConverterState noMark(QTextCodec::IgnoreHeader);
    Row("UTF-16 little endian with mark",
        "\xff\xfe" + QTextCodec::codecForName("UTF-16LE")->fromUnicode(text.constData(), text.size(), &noMark),
        jurgen);
    QTextCodec::ConverterState noMarkEither(QTextCodec::IgnoreHeader);
    Row("UTF-16 big endian with mark",
        "\xfe\xff" + QTextCodec::codecForName("UTF-16BE")->fromUnicode(text.constData(), text.size(), &noMarkEither),
        jurgen);
    Row("a mark after the first character", " \xef\xbb\xbf<eoh><NAME:1>x<eor>", "[NAME] 1|NAME=x");
    // Zero bytes are characters; first they start a header.
    const QByteArray zeros = Bytes("[CALL,NOTES,BAND] 1|CALL=N0\0CAL|NOTES=a\0b / 2|BAND=2m");
    Row("zero bytes", Bytes("<CALL:6>N0\0CAL <NOTES>a\0b<eor>\0\0<BAND:2>2m\0<eor>"),
        QString::fromLatin1(zeros.constData(), zeros.size()));
    Row("a zero byte first", Bytes("\0<CALL:1>A<eor>"), "[]");
}

void TestAdifParser::tags()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, parsed);
    if (LocalEncodingDiffers(input))
        QSKIP("the local 8-bit encoding is not UTF-8");
    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(Parsed(AdifStore), parsed);
}

void TestAdifParser::hostileInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("parsed");

    // Declared lengths: a value only grows with the characters actually read.
    const QByteArray many(3 * readBlockSize, 'x');
    Row("two thousand million, cut by the end", "<CALL:1>A<eor><NOTES:2000000000>" + many + "<eor>", "[CALL] 1|CALL=A");
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

    // Line ends, characters and tags on the border of two blocks read: the
    // first byte of the value is the last byte of the first block.
    const auto border = [](const char *name, const QByteArray &value, int length, const QString &notes) {
        const QByteArray tag = "<NOTES:" + QByteArray::number(length) + ">ab";
        const QByteArray start = " <eoh>" + QByteArray(readBlockSize - 7 - tag.size(), ' ') + tag;
        Row(name, start + value + "<eor>", QStringLiteral("[NOTES] 1|NOTES=") + notes);
    };
    border("CR LF split between blocks", "\r\ncd", 5, "ab cd");
    border("lone CR at the end of a block", "\rcd", 4, "ab c");
    border("CR at the end of a block, CR LF after", "\r\r\nd", 5, "ab d");
    border("a UTF-8 character split between blocks", "\xc3\xa4z", 4, QString::fromUtf8("ab\xc3\xa4z"));
    border("a cut UTF-8 character, then a block of ASCII", "\xc3z", 4, QStringLiteral("ab\uFFFDz"));
    Row("<eoh> split between blocks", "Log" + QByteArray(readBlockSize - 6, ' ') + "<eoh><CALL:1>A<eor>",
        "[CALL] 1|CALL=A");
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
    QCOMPARE(AdifStore.ReadAdifFile(logFolder + name, nullptr, nullptr), 0);
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
    const QByteArray whole = ReadFileBytes(logFolder + name);
    AdifDataBase full;
    Read(full, whole);
    QCOMPARE(full.RecordCount(), whole.toLower().count("<eor>"));
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
}

void TestAdifParser::inPieces_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<int>>("pieces"); // the sizes the file comes in, over and over
    // The first piece is long enough for a byte-order mark, which is looked
    // for in the first piece only, as in the first block of a file.
    const QVector<QVector<int>> patterns { { 4, 1 }, { 4, 2, 3 }, { 5, 13, 1, 64 } };
    QMap<QString, QByteArray> files;
    const QDir logs(logFolder, QStringLiteral("*"), QDir::Name, QDir::Files);
    for (const QString &name : logs.entryList())
        files.insert(name, ReadFileBytes(logFolder + name));
    files.insert(QStringLiteral("line ends and characters of every width"),
                 QByteArray("head\r\r\n<EOH>\r\n<call:6>DL1ABC<gridsquare:6>JO62qm\r\n<eor>\r\r\n"
                            "<CALL:4>\xc3\x84\xe2\x82\xac\xf0\x9f\x98\x80x<comment>open \xc3\xbc\r<eor>"
                            "<call:3:s>A\r\nB<Call:2>  <freq:0>144<eor><cut:9>abc"));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        for (const QVector<int> &pieces : patterns) {
            QStringList sizes;
            for (const int size : pieces)
                sizes << QString::number(size);
            QTest::newRow(qPrintable(it.key() + QLatin1Char(' ') + sizes.join(QLatin1Char(','))))
                << it.value() << pieces;
        }
    }
}

void TestAdifParser::inPieces()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<int>, pieces);
    AdifDataBase whole, cut;
    QCOMPARE(Read(whole, bytes), 0);
    PieceDevice device(bytes, pieces);
    QCOMPARE(cut.ReadAdifFile(device, nullptr), 0);
    // The pieces reach the reader as they are.
    PieceDevice probe(bytes, pieces);
    char first[64];
    QCOMPARE(probe.read(first, sizeof first), qint64(qMin(pieces.first(), bytes.size())));
    QCOMPARE(Parsed(cut), Parsed(whole));
}

void TestAdifParser::brokenCharactersCutAnywhere()
{
    // Broken UTF-8 (a sequence cut short, stray continuation bytes, a lead
    // byte that leads nothing, overlong forms, surrogates) read in two pieces
    // cut at every place reads as read whole: a character the cut splits is
    // held back and decoded with the rest. The byte-order mark makes it UTF-8
    // whatever the local encoding; the first piece holds it whole.
    const QByteArray bytes = "\xEF\xBB\xBF<NOTES:12>a\xE2\x82\xC3\xA9\xF0\x9F\xE2\x82\xAC\x80"
                             "<CALL:9>\xED\xA0\x80\xC0\xAF\xF4\x90\x80\x80z\xF0\x9F\x98\x80<eor>"
                             "<NOTES:3>\xC3\xF0\x9F\x98<eor>\xE2\x82";
    AdifDataBase whole;
    QCOMPARE(Read(whole, bytes), 0);
    QVERIFY(Parsed(whole).contains(QChar(0xFFFD)));
    for (int cut = 3; cut < bytes.size(); ++cut) {
        AdifDataBase store;
        PieceDevice device(bytes, { cut, int(bytes.size()) });
        QCOMPARE(store.ReadAdifFile(device, nullptr), 0);
        QCOMPARE(Parsed(store), Parsed(whole));
    }
}

GRIDCOL_TEST_MAIN(TestAdifParser)
#include "tst_adifparser.moc"
