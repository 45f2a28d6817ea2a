#include "piecedevice.h"
#include "testsupport.h"

#include "adif/adifdatabase.h"
#include "app/clock.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "readers/adiflog.h"
#include "readers/callslocfile.h"
#include "readers/sourcefiles.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCodec>

#include <algorithm>
#include <cstdio>
#include <memory>

/*
 * The ADIF record store: the parser's state machine as rows of input bytes,
 * the store's operations and signals as scripted rows, the writer, and round
 * trips of real logs. What the log import makes of the records is shown by
 * the working-directory cases.
 */

namespace {

/// The size of the blocks the parser reads, to put characters on their border.
constexpr int readBlockSize = 1 << 20;
const QString logFolder = QStringLiteral(GRIDCOL_TEST_DATA "/adif/logs/");

int Read(AdifDataBase &store, QByteArray bytes, const AdifProgress &progress = nullptr)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return store.ReadAdifFile(buffer, progress);
}

QByteArray Write(const AdifDataBase &store, int lineWidth = 0, bool onlySelected = false,
                 const AdifProgress &progress = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return store.WriteAdifFile(buffer, lineWidth, onlySelected, progress) == 0 ? bytes : "<failed>";
}

/// One line per record: its id, then "NAME=value" for each non-empty value
/// in catalogue order, separated by "|".
QStringList Records(const AdifDataBase &store)
{
    QStringList lines;
    for (int i = 0; i < store.RecordCount(); ++i) {
        const AdifRecord record = store.GetRecord(i);
        QStringList parts { QString::number(record.id) };
        for (int f = 0; f < store.FieldCount(); ++f) {
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
template<int N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

void Row(const char *name, const QByteArray &input, const QString &parsed)
{
    QTest::newRow(name) << input << parsed;
}

/// Text beyond ASCII without a byte-order mark reads and writes in the local
/// 8-bit encoding, UTF-8 in the suite's locale; a system whose local encoding
/// is another (Windows' ANSI code page) skips the rows that assume UTF-8.
bool LocalEncodingDiffers(const QByteArray &text)
{
    const bool marked = text.startsWith("\xef\xbb\xbf") || text.startsWith("\xff\xfe") || text.startsWith("\xfe\xff");
    return !marked && QTextCodec::codecForLocale()->mibEnum() != 106
        && std::any_of(text.cbegin(), text.cend(), [](char c) { return uchar(c) >= 0x80; });
}

/// Stores records written "NAME=value;NAME=value" and separated by "|"; a
/// "*" at the end of a record selects it, "N:" at its start gives it id N.
QStringList Store(AdifDataBase &store, const QString &records)
{
    QStringList answers;
    for (QString text : records.split(QLatin1Char('|'))) {
        AdifRecord record;
        record.selected = text.endsWith(QLatin1Char('*'));
        text.chop(record.selected ? 1 : 0);
        if (text.contains(QLatin1Char(':')))
            record.id = text.section(QLatin1Char(':'), 0, 0).toInt();
        for (const QString &value : text.section(QLatin1Char(':'), -1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            record.SetValue(store.FieldIndex(value.section(QLatin1Char('='), 0, 0)), value.section(QLatin1Char('='), 1));
        answers << QString::number(store.StoreRecord(record));
    }
    return answers;
}

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

/// The records GetRecord() shows ("id:values"), the selected flags of the
/// record list ("*" or "-") where any is set or a selection is active, the
/// catalogue, the stored date range and the flags.
QString State(const AdifDataBase &store)
{
    QStringList parts;
    for (int n = 0; store.GetRecord(n).id > 0; ++n) {
        const AdifRecord record = store.GetRecord(n);
        QStringList values;
        for (int f = 0; f < store.FieldCount() + 8; ++f)
            values << record.Value(f);
        while (!values.isEmpty() && values.last().isEmpty())
            values.removeLast();
        parts << QString::number(record.id) + QLatin1Char(':') + values.join(QLatin1Char(','));
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
    parts << QLatin1String(store.IsSelectionActive() ? "active" : "") << QLatin1String(store.IsModified() ? "modified" : "")
          << QLatin1String(store.SignalsEnabled() ? "" : "off");
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

/// Counts DataChanged, AdifChanged and SelectionChanged.
struct SignalCounts
{
    explicit SignalCounts(AdifDataBase &store)
    {
        for (auto signal : { &AdifDataBase::DataChanged, &AdifDataBase::AdifChanged, &AdifDataBase::SelectionChanged })
            spies.append(std::make_shared<QSignalSpy>(&store, signal));
    }
    QString text() const { return QStringLiteral("%1 %2 %3").arg(spies[0]->count()).arg(spies[1]->count()).arg(spies[2]->count()); }
    QVector<std::shared_ptr<QSignalSpy>> spies;
};

} // namespace

class TestAdif : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void tags_data();
    void tags();
    void hostileInput_data();
    void hostileInput() { tags(); }
    void progressAndSignals();
    void realLogs_data();
    void realLogs();
    void everyPrefixOfARealLog_data();
    void everyPrefixOfARealLog();
    void readAhead_data();
    void readAhead();
    void inPieces_data();
    void inPieces();
    void directoryImport();
    void importBesideReading_data();
    void importBesideReading();
    void operations_data();
    void operations();
    void loadFieldCatalogue_data();
    void loadFieldCatalogue();
    void write_data();
    void write();
    void writeFailures();
    void headerTime();
    void roundTrip_data();
    void roundTrip();
};

void TestAdif::tags_data()
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
    // Qt's UTF-16 encoders write the mark first.
    Row("UTF-16 little endian with mark", QTextCodec::codecForName("UTF-16LE")->fromUnicode(text), jurgen);
    Row("UTF-16 big endian with mark", QTextCodec::codecForName("UTF-16BE")->fromUnicode(text), jurgen);
    Row("a mark after the first character", " \xef\xbb\xbf<eoh><NAME:1>x<eor>", "[NAME] 1|NAME=x");
    // Zero bytes are characters; first they start a header.
    const QByteArray zeros = Bytes("[CALL,NOTES,BAND] 1|CALL=N0\0CAL|NOTES=a\0b / 2|BAND=2m");
    Row("zero bytes", Bytes("<CALL:6>N0\0CAL <NOTES>a\0b<eor>\0\0<BAND:2>2m\0<eor>"),
        QString::fromLatin1(zeros.constData(), zeros.size()));
    Row("a zero byte first", Bytes("\0<CALL:1>A<eor>"), "[]");
}

void TestAdif::tags()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, parsed);
    if (LocalEncodingDiffers(input))
        QSKIP("the local 8-bit encoding is not UTF-8");
    QCOMPARE(Read(AdifStore, input), 0);
    QCOMPARE(Parsed(AdifStore), parsed);
}

void TestAdif::hostileInput_data()
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

void TestAdif::progressAndSignals()
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
    QCOMPARE(events, QStringList({ "progress 1 of 1", "progress 2 of 2", "progress 3 of 3", "AdifChanged",
                                   "DataChanged", "SelectionChanged" }));
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

void TestAdif::realLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir expected(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected"), QStringLiteral("*.store"));
    for (const QString &file : expected.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file.chopped(6);
}

void TestAdif::realLogs()
{
    QFETCH(QString, name);
    QCOMPARE(AdifStore.ReadAdifFile(logFolder + name, nullptr, nullptr), 0);
    COMPARE_TEXT(Records(AdifStore).join(QLatin1Char('\n')).toUtf8() + '\n',
                 ReadFileBytes(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected/") + name + QStringLiteral(".store")));
}

void TestAdif::everyPrefixOfARealLog_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("CR line ends, no header") << "EA5WA_ULTIMS.ADI";
    QTest::newRow("CR LF line ends, header") << "2021-08-16-G8TJZ-RS-44-Satellite.adi";
    QTest::newRow("lower-case tags, blank lines") << "LU7HF.adi";
}

void TestAdif::everyPrefixOfARealLog()
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

void TestAdif::inPieces_data()
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

void TestAdif::inPieces()
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

/// How a folder of logs is imported: one file after another, each read and
/// then imported, or as a directory is, with the first log read from the
/// moment the import is made or only in its turn.
enum class ImportWay { OneByOne, Directory, DirectoryFirstEarly };

/// Console, log, database and store after importing the logs of folder with
/// the given catalogue; the debug log is written only with withLog.
QStringList ImportedState(const QString &folder, const QString &catalogue, ImportWay way, bool withLog = true)
{
    ResetProgramState();
    AdifStore.LoadFieldCatalogue(0, catalogue);
    std::FILE *console = std::tmpfile();
    std::FILE *log = std::tmpfile();
    SetConsoleFile(console);
    DebugLog = withLog ? log : nullptr;
    if (way == ImportWay::OneByOne) {
        for (const QFileInfo &file : ListSourceFiles(folder, QStringLiteral("*.adi")))
            ImportAdifFile(file);
    } else {
        AdifLogImport(folder, way == ImportWay::DirectoryFirstEarly).run();
    }
    QStringList result { State(AdifStore), QString::fromUtf8(BuildCallsLocDat()) };
    for (std::FILE *file : { console, log }) {
        QByteArray bytes(std::ftell(file), Qt::Uninitialized);
        std::rewind(file);
        bytes.resize(int(std::fread(bytes.data(), 1, size_t(bytes.size()), file)));
        std::fclose(file);
        result << QString::fromUtf8(bytes);
    }
    ResetProgramState();
    return result;
}

const QString mixedCatalogue = QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues/mixed.txt");

void TestAdif::directoryImport()
{
    // A directory of logs imported with each log read ahead on a second
    // thread, the first from the moment the import is made or only in its
    // turn, leaves console, log, database and store exactly as importing
    // the logs one by one does.
    const QStringList oneByOne = ImportedState(logFolder, mixedCatalogue, ImportWay::OneByOne);
    QVERIFY(oneByOne.at(2).count(QStringLiteral("Verarbeite")) >= 10);
    QCOMPARE(ImportedState(logFolder, mixedCatalogue, ImportWay::Directory), oneByOne);
    QCOMPARE(ImportedState(logFolder, mixedCatalogue, ImportWay::DirectoryFirstEarly), oneByOne);
}

void TestAdif::importBesideReading_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<bool>("withLog");
    const QString known = QStringLiteral("CALL\nQSO_DATE\nNOTES\nGRIDSQUARE\nFREQ\nBAND\n");
    QTest::newRow("fields known, with log") << known << true;
    QTest::newRow("fields known, no log") << known << false;
    // Where the catalogue lacks a field the import reads, that field is
    // appended after the log's own new ones.
    QTest::newRow("no GRIDSQUARE") << QStringLiteral("CALL\nQSO_DATE\nFREQ\nBAND\n") << true;
    QTest::newRow("empty catalogue") << QString() << true;
}

void TestAdif::importBesideReading()
{
    // A lone log is imported while it is read, in blocks; the result is that
    // of reading it first and importing it after, log lines and their order
    // included. Several blocks, records below 2 m, records without locator
    // and a last block cut short.
    QFETCH(QString, catalogue);
    QFETCH(bool, withLog);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QByteArray text = "generated log <eoh>\n";
    for (int i = 0; i < 5000; ++i) {
        const QByteArray call = "DL" + QByteArray::number(i % 1700) + "X";
        const QByteArray locator = i % 97 == 0 ? QByteArray() : "JO" + QByteArray::number(10 + i % 80) + "AB";
        const QByteArray date = QDate(2026, 1, 1).addDays(-(i % 700)).toString("yyyyMMdd").toLatin1();
        const QByteArray freq = i % 5 == 0 ? "14.074" : (i % 7 == 0 ? "" : "144.3");
        text += "<CALL:" + QByteArray::number(call.size()) + ">" + call + " <GRIDSQUARE:"
            + QByteArray::number(locator.size()) + ">" + locator + " <QSO_DATE:8>" + date + " <FREQ:"
            + QByteArray::number(freq.size()) + ">" + freq + (i % 3 == 0 ? " <BAND:4>70cm" : " <BAND:2>2m")
            + " <EOR>\n";
    }
    QFile file(folder.filePath(QStringLiteral("big.adi")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    const QString cataloguePath = folder.filePath(QStringLiteral("catalogue.txt"));
    QFile catalogueFile(cataloguePath);
    QVERIFY(catalogueFile.open(QIODevice::WriteOnly) && catalogueFile.write(catalogue.toUtf8()) >= 0);
    catalogueFile.close();

    const QStringList oneByOne = ImportedState(folder.path(), cataloguePath, ImportWay::OneByOne, withLog);
    QVERIFY(oneByOne.at(2).contains(QStringLiteral("3959 of 5000")));
    if (withLog)
        QVERIFY(oneByOne.at(3).contains(QStringLiteral("Adif failed")));
    QCOMPARE(ImportedState(folder.path(), cataloguePath, ImportWay::Directory, withLog), oneByOne);
}

void TestAdif::readAhead_data()
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

void TestAdif::readAhead()
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

void TestAdif::operations_data()
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
        QTest::newRow(name) << QStringLiteral("+B=2M +B=2m +B=12M +B=70cm + +B=2mx ") + QLatin1String(op)
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

void TestAdif::operations()
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

void TestAdif::loadFieldCatalogue_data()
{
    QTest::addColumn<QString>("path");
    const QDir folder(QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues"), QStringLiteral("*.txt"));
    for (const QString &file : folder.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << folder.filePath(file);
}

void TestAdif::loadFieldCatalogue()
{
    QFETCH(QString, path);
    AdifDataBase store;
    store.StoreRecord(AdifRecord());
    SignalCounts spy(store);
    store.LoadFieldCatalogue(0, path);
    QString catalogue; // "NAME|label|description" per field
    for (int i = 0; i < store.FieldCount(); ++i)
        catalogue += QStringList({ store.FieldName(i), store.FieldLabel(i), store.FieldDescription(i) })
                         .join(QLatin1Char('|')) + QLatin1Char('\n');
    COMPARE_TEXT(catalogue.toUtf8(), ReadFileBytes(path + QStringLiteral(".expected")));
    QCOMPARE(spy.text(), QStringLiteral("0 %1 0").arg(store.FieldCount()));
    QVERIFY(!store.IsModified());

    // A second load appends; a file that cannot be read changes nothing, not even the modified flag.
    for (const QString &again : { path, path + QStringLiteral(".missing"), QStringLiteral(GRIDCOL_TEST_DATA) }) {
        store.StoreRecord(AdifRecord());
        store.LoadFieldCatalogue(0, again);
    }
    const int count = int(catalogue.count(QLatin1Char('\n')));
    QCOMPARE(spy.text(), QStringLiteral("3 %1 0").arg(2 * count));
    QVERIFY(store.IsModified() && store.FieldCount() == 2 * count);
}

void TestAdif::write_data()
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
    QTest::newRow("width 0: no line ends") << tags << 0 << ""
                                           << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 20: after the second tag")
        << tags << 20 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM\n<MODE:4>RTTY<eor>\n\n");
    QTest::newRow("width 24: exactly full is not more")
        << tags << 24 << "" << QByteArray("<CALL:4>ABCD<BAND:4>70CM<MODE:4>RTTY\n<eor>\n\n");
    QTest::newRow("negative width: after every tag")
        << tags << -1 << "" << QByteArray("<CALL:4>ABCD\n<BAND:4>70CM\n<MODE:4>RTTY\n<eor>\n\n");
}

void TestAdif::write()
{
    QFETCH(QString, records);
    QFETCH(int, lineWidth);
    QFETCH(QString, select);
    QFETCH(QByteArray, written);
    if (LocalEncodingDiffers(written))
        QSKIP("the local 8-bit encoding is not UTF-8");

    AdifDataBase store;
    if (!records.isEmpty())
        Store(store, records);
    // Without an active selection onlySelected writes every record.
    const QByteArray all = Write(store, lineWidth);
    if (!select.isEmpty())
        store.SelectMatching(0, select, false);
    QList<int> progress;
    COMPARE_TEXT(Write(store, lineWidth, true, [&](int n) { progress << n; }),
                 "ADIF File exported by Pevrax\n15-Jun-2026 12:00\n<eoh>" + written);
    QCOMPARE(progress.size(), int(written.count("<eor>")));
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i), i + 1);
    QCOMPARE(Write(store, lineWidth), all);
}

void TestAdif::writeFailures()
{
    // A missing folder, a folder in the way, a device not open for writing, a full device.
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("folder.adi"))));
    AdifDataBase store;
    Store(store, QStringLiteral("CALL=DL1ABC"));
    for (const char *path : { "missing/log.adi", "folder.adi" })
        QCOMPARE(store.WriteAdifFile(dir.filePath(QLatin1String(path)), 0, false, nullptr), -1);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.adi"))).isDir());
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QCOMPARE(store.WriteAdifFile(readOnly, 0, false, nullptr), -1);
    QFile full(QStringLiteral("/dev/full"));
    if (full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        QCOMPARE(store.WriteAdifFile(full, 0, false, nullptr), -1);
}

void TestAdif::headerTime()
{
    // Each write shows its own time, not the run's "now"; unfixed, the system clock's.
    AdifDataBase store;
    for (const char *moment : { "15.06.2026 12:01", "16.06.2026 09:30", "" }) {
        Clock::setWallTime(Day(moment));
        const QDateTime shown = Day(moment).isValid() ? Day(moment) : QDateTime::currentDateTime();
        const QByteArray time = shown.toString(QStringLiteral("dd-MMM-yyyy HH:mm")).toUtf8();
        QCOMPARE(Write(store), "ADIF File exported by Pevrax\n" + time + "\n<eoh>");
    }
}

void TestAdif::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &file : QDir(logFolder).entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << file;
}

void TestAdif::roundTrip()
{
    QFETCH(QString, name);
    // Read, written to a file (replacing what was there) and read back, a log
    // keeps every value; a second round writes the same bytes again.
    AdifDataBase store;
    QCOMPARE(store.ReadAdifFile(logFolder + name, nullptr, nullptr), 0);
    QVERIFY(store.RecordCount() > 0);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(WriteFileBytes(path, QByteArray(100000, 'x')));
    QCOMPARE(store.WriteAdifFile(path, 80, false, nullptr), 0);
    AdifDataBase back;
    QCOMPARE(back.ReadAdifFile(path, nullptr, nullptr), 0);
    QCOMPARE(Records(back), Records(store));
    const QByteArray written = Write(back, 30);
    AdifDataBase third;
    Read(third, written);
    QCOMPARE(Write(third, 30), written);
}

GRIDCOL_TEST_MAIN(TestAdif)
#include "tst_adif.moc"
