#include "testsupport.h"

#include "app/clock.h"
#include "app/driver.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/localtext.h"
#include "database/ordering.h"
#include "readers/adiflog.h"
#include "readers/asciiimport.h"
#include "readers/callslocfile.h"
#include "readers/textlinereader.h"
#include "readers/vhfdtb.h"
#include "readers/workqueue.h"
#include "writers/n1mmfile.h"
#include "writers/outputfile.h"
#include "writers/superchecklist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

/*
 * The pieces with rules of their own that a working-directory case reaches
 * only by accident: the locator order (which is no strict weak order), the
 * line reader's buffer and carriage-return rules, the delimited-field
 * splitter and the clock.
 */

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void locatorOrder_data();
    void locatorOrder();
    void outputLayout();
    void outputPieces();
    void weightSum_data();
    void weightSum();
    void linePieces_data();
    void linePieces();
    void splitDelimitedLine_data();
    void splitDelimitedLine();
    void stripFieldQuotes();
    void clock();
    void outputTexts();
    void contactFrequency();
    void readInOrder_data();
    void readInOrder();
};

void TestRules::locatorOrder_data()
{
    QTest::addColumn<QStringList>("added"); // "NAME weight dd.MM.yyyy", now is 15.06.2026
    QTest::addColumn<QString>("ranked");

    const QString x = QStringLiteral("X 5 15.06.2023");
    const QString y = QStringLiteral("Y 1 15.06.2025");
    const QString z = QStringLiteral("Z 2 15.06.2024");
    QTest::newRow("heavy old X, then light new Y") << QStringList { "X 5 01.01.2024", "Y 1 01.01.2026" } << "YX";
    QTest::newRow("light new Y, then heavy old X") << QStringList { "Y 1 01.01.2026", "X 5 01.01.2024" } << "XY";
    QTest::newRow("two of weight 1, older first") << QStringList { "A 1 01.01.2025", "B 1 01.01.2026" } << "BA";
    QTest::newRow("two of weight 1, newer first") << QStringList { "B 1 01.01.2026", "A 1 01.01.2025" } << "BA";
    // Summer and winter dates differ in their offset from UTC; the later moment is the newer.
    QTest::newRow("summer, then an older winter") << QStringList { "S 1 15.07.2025", "W 1 15.01.2025" } << "SW";
    QTest::newRow("summer, then a newer winter") << QStringList { "S 1 15.07.2025", "W 1 15.01.2026" } << "WS";
    QTest::newRow("3, 7, 3") << QStringList { "P 3 01.01.2026", "Q 7 01.01.2026", "R 3 01.01.2026" } << "QPR";
    QTest::newRow("3, 3, 7") << QStringList { "P 3 01.01.2026", "R 3 01.01.2026", "Q 7 01.01.2026" } << "QRP";
    QTest::newRow("X, Y, Z") << QStringList { x, y, z } << "YXZ";
    QTest::newRow("X, Z, Y") << QStringList { x, z, y } << "ZXY";
    QTest::newRow("Z, X, Y") << QStringList { z, x, y } << "XZY";
    QTest::newRow("five by weight")
        << QStringList { "A 2 01.01.2026", "B 9 01.01.2026", "C 4 01.01.2026", "D 7 01.01.2026", "E 3 01.01.2026" }
        << "BDCEA";
}

void TestRules::locatorOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QString, ranked);
    CallEntry entry { QStringLiteral("DL1ABC"), {} };
    for (const QString &text : added) {
        const QStringList parts = text.split(QLatin1Char(' '));
        const QDateTime date = Day(parts.at(2).toLatin1().constData());
        entry.locators.append({ parts.at(0), date, date.toMSecsSinceEpoch(), parts.at(1).toInt() });
    }
    QString names;
    for (const LocatorEntry &locator : RankedLocators(entry))
        names += locator.locator;
    QCOMPARE(names, ranked);
}

/// Every entry's call and ranked locators as the outputs read them, against
/// the entry itself; and the index finds every call where it now stands.
static void CheckOutputLayout()
{
    for (int i = 0; i < CallDatabase.size(); ++i) {
        const CallEntry &entry = CallDatabase.at(i);
        QCOMPARE(CallDatabase.rankedCallAt(i), QStringView(entry.call));
        QCOMPARE(CallDatabase.indexOf(entry.call), i);
        const QVector<LocatorEntry> expected = RankedLocators(entry);
        const RankedLocatorList ranked = CallDatabase.rankedAt(i);
        QCOMPARE(ranked.size(), expected.size());
        for (int k = 0; k < ranked.size(); ++k) {
            QCOMPARE(ranked.at(k).locator, QStringView(expected.at(k).locator));
            QCOMPARE(ranked.at(k).weight, expected.at(k).weight);
            QCOMPARE(ranked.at(k).stamp, expected.at(k).stamp);
            QCOMPARE(ranked.at(k).date, expected.at(k).date);
        }
    }
}

/// Thousands of calls in no order, short and long, beyond ASCII, one
/// longer than a block of the layout's text; a few locators each, of
/// several weights and dates.
static void FillDatabase(int count)
{
    QStringList calls;
    for (int n = 0; n < count; ++n) {
        const int k = (n * 7919) % count;
        QString call = QStringLiteral("D%1%2").arg(QChar(u'A' + k % 26)).arg(k);
        if (k % 5 == 1)
            call += QStringLiteral("/P/LONGER");
        if (k % 97 == 3)
            call += QStringLiteral("Ü");
        calls << call;
    }
    calls << QString(70000, QLatin1Char('W'));
    const QDateTime now = Clock::now();
    for (int n = 0; n < calls.size(); ++n) {
        for (int l = 0; l <= n % 4; ++l) {
            const QString locator = QStringLiteral("JO%1AB").arg((n + 3 * l) % 90, 2, 10, QLatin1Char('0'));
            AddCallLocator(calls.at(n), locator, now.addDays(-((n + l) % 700)), 1 + (n * l) % 3);
        }
    }
}

void TestRules::outputLayout()
{
    FillDatabase(6000);
    const QDateTime now = Clock::now();

    CallDatabase.sortByCall();
    CallDatabase.rankAll();
    for (int i = 1; i < CallDatabase.size(); ++i)
        QVERIFY(CallDatabase.at(i - 1).call < CallDatabase.at(i).call);
    CheckOutputLayout();
    if (QTest::currentTestFailed())
        return;

    // Merging after the layout was made: a new locator of a call, a heavier
    // weight of another call's locator, and a new call. The layout follows
    // without being asked, and so does the index.
    AddCallLocator(CallDatabase.at(10).call, QStringLiteral("KN00AA"), now, 9);
    AddCallLocator(CallDatabase.at(20).call, CallDatabase.at(20).locators.constLast().locator, now, 50);
    QCOMPARE(CallDatabase.rankedAt(20).at(0).weight, CallDatabase.at(20).locators.constLast().weight);
    AddCallLocator(QStringLiteral("0NEW"), QStringLiteral("JN00AA"), now, 1);
    QCOMPARE(CallDatabase.rankedCallAt(CallDatabase.size() - 1), QStringView(u"0NEW"));
    CheckOutputLayout();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(CallDatabase.rankedAt(10).at(0).locator, QStringView(u"KN00AA"));

    CallDatabase.sortByCall();
    QCOMPARE(CallDatabase.rankedCallAt(0), QStringView(u"0NEW"));
    CheckOutputLayout();
}

void TestRules::outputPieces()
{
    // The files are written piece by piece, a few thousand calls a piece:
    // more calls than two pieces hold, the last piece short. Each file holds
    // exactly what its content built whole is.
    FillDatabase(2 * outputPieceCalls + 1000);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(directory.path()));
    WriteOutputs();
    QVERIFY(QDir::setCurrent(before));

    const struct
    {
        const char *name;
        QByteArray whole;
    } files[] = { { "n1mm_qth.txt", BuildN1mmText() },       { "calls_loc.dbg", BuildCallsLocListing() },
                  { "master.scp", BuildSuperCheckList() },   { "calls_loc.dat", BuildCallsLocDat() },
                  { "vhf.dtb", BuildVhfDtb() } };
    for (const auto &file : files) {
        QFile written(directory.filePath(QLatin1String(file.name)));
        const bool text = QByteArray(file.name) != "vhf.dtb";
        QVERIFY2(written.open(text ? QIODevice::ReadOnly | QIODevice::Text : QIODevice::ReadOnly), file.name);
        QVERIFY2(written.readAll() == file.whole, file.name);
    }
    QVERIFY(BuildN1mmText().count('\n') > 2 * outputPieceCalls);
}

void TestRules::weightSum_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("sum");
    const int largest = std::numeric_limits<int>::max();
    const int smallest = std::numeric_limits<int>::min();
    QTest::newRow("plain") << 5 << 7 << 12;
    QTest::newRow("up to the largest") << largest - 1 << 1 << largest;
    QTest::newRow("one past the largest") << largest << 1 << largest;
    QTest::newRow("largest twice") << largest << largest << largest;
    QTest::newRow("below the smallest") << smallest << -1 << smallest;
}

void TestRules::weightSum()
{
    // Weights of the same call and locator add up, and stay at the end of
    // the int range instead of wrapping round.
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, sum);
    AddCallLocator(u"DL1ABC", u"JO62QM", Clock::now(), first);
    AddCallLocator(u"DL1ABC", u"JO62QM", Clock::now(), second);
    QCOMPARE(CallDatabase.size(), 1);
    QCOMPARE(CallDatabase.at(0).locators.size(), 1);
    QCOMPARE(CallDatabase.at(0).locators.at(0).weight, sum);
}

void TestRules::linePieces_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<QList<QByteArray>>("pieces");

    using Pieces = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << 99 << Pieces {};
    QTest::newRow("last line without line end is dropped") << QByteArray("a\nbc") << 99 << Pieces { "a\n" };
    QTest::newRow("empty lines") << QByteArray("\n\nx\n") << 99 << Pieces { "\n", "\n", "x\n" };
    QTest::newRow("CR LF reads as LF") << QByteArray("ab\r\ncd\r\n") << 99 << Pieces { "ab\n", "cd\n" };
    QTest::newRow("lone CR stays") << QByteArray("a\rb\n\r\r\n") << 99 << Pieces { "a\rb\n", "\r\n" };
    QTest::newRow("CR at the very end") << QByteArray("a\n\r") << 99 << Pieces { "a\n" };
    QTest::newRow("long line in pieces") << QByteArray("abcdefgh\n") << 4 << Pieces { "abc", "def", "gh\n" };
    QTest::newRow("line end alone in its own piece") << QByteArray("abc\nd\n") << 4 << Pieces { "abc", "\n", "d\n" };
    QTest::newRow("CR LF counts as one character") << QByteArray("ab\r\ncd\n") << 4 << Pieces { "ab\n", "cd\n" };
    // The read that fills the buffer stops before it meets the end of the file.
    QTest::newRow("last piece filling the buffer") << QByteArray("abcdef") << 4 << Pieces { "abc", "def" };
    QTest::newRow("last piece short of the buffer") << QByteArray("abcde") << 4 << Pieces { "abc" };
    QTest::newRow("NUL bytes are read") << QByteArray("a\0b\n", 4) << 99 << Pieces { QByteArray("a\0b\n", 4) };
    // Pieces of 9 bytes over the border of the 64 KiB blocks read: the piece cut there goes on in the next block.
    const QByteArray longLine = QByteArray(65550, 'x') + '\n';
    Pieces nines;
    for (int i = 0; i < longLine.size(); i += 9)
        nines << longLine.mid(i, 9);
    QTest::newRow("a long line in short pieces across a block boundary") << longLine << 10 << nines;
    QTest::newRow("CR LF across a block boundary")
        << QByteArray(64 * 1024 - 1, 'x') + "\r\nend\n" << 200000
        << Pieces { QByteArray(64 * 1024 - 1, 'x') + '\n', "end\n" };
}

void TestRules::linePieces()
{
    QFETCH(QByteArray, content);
    QFETCH(int, bufferSize);
    QFETCH(QList<QByteArray>, pieces);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    TextLineReader reader(bufferSize);
    QVERIFY(WriteFileBytes(path, content));
    QVERIFY(reader.open(path));
    QList<QByteArray> read;
    QByteArray line;
    while (reader.readLine(line))
        read.append(line);
    QCOMPARE(read, pieces);
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.readLine(line));
}

void TestRules::splitDelimitedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("fields");

    const QChar comma = QLatin1Char(',');
    QTest::newRow("plain") << "a,b,c" << comma << QStringList { "a", "b", "c" };
    QTest::newRow("empty line, one empty field") << "" << comma << QStringList { "" };
    QTest::newRow("line feed is not part of the last field") << "a,b\n" << comma << QStringList { "a", "b" };
    QTest::newRow("carriage return stays") << "a,b\r" << comma << QStringList { "a", "b\r" };
    QTest::newRow("two separators in a row") << "a,,b" << comma << QStringList { "a", "", "b" };
    QTest::newRow("separator at the end") << "a,b," << comma << QStringList { "a", "b", "" };
    QTest::newRow("separator at the start") << ",a" << comma << QStringList { "", "a" };
    QTest::newRow("separator inside quotes") << "\"a,b\",c" << comma << QStringList { "a,b", "c" };
    QTest::newRow("doubled quotes stay doubled") << "\"say \"\"hi\"\"\",x" << comma
                                                 << QStringList { "say \"\"hi\"\"", "x" };
    QTest::newRow("text after the closing quote is dropped") << "\"ab\"cd,e" << comma << QStringList { "ab", "e" };
    QTest::newRow("quoted empty field") << "x,\"\"" << comma << QStringList { "x", "" };
    QTest::newRow("two pairs of quotes: the pattern takes the first pair") << "\"\"DL1ABC\"\"" << comma
                                                                           << QStringList { "" };
    QTest::newRow("blanks around a quoted field") << " \"a\" ,b" << comma << QStringList { " \"a\" ", "b" };
    QTest::newRow("quote never closed") << "\"open,x" << comma << QStringList { "\"open", "x" };
    QTest::newRow("quote never closed, long line") << "\"" + QString(190, QLatin1Char('a')) + ",x" << comma
                                                   << QStringList { "\"" + QString(190, QLatin1Char('a')), "x" };
    QTest::newRow("blank, two in a row") << "a  b" << QChar(QLatin1Char(' ')) << QStringList { "a", "", "b" };
    QTest::newRow("zero character: the whole line") << "a,b;c\td\n" << QChar(0) << QStringList { "a,b;c\td" };
    QTest::newRow("letter") << "xaybz" << QChar(QLatin1Char('y')) << QStringList { "xa", "bz" };
    for (const char c : { '|', '.', '*', '+', '?', '(', ')', '[', ']', '{', '}', '\\', '^', '$', '-' }) {
        const QString s { QLatin1Char(c) };
        QTest::newRow(qPrintable("escaped " + s)) << "a" + s + "b" + s + "\"c" + s + "d\"" << QChar(QLatin1Char(c))
                                                  << QStringList { "a", "b", "c" + s + "d" };
    }
}

void TestRules::splitDelimitedLine()
{
    QFETCH(QString, line);
    QFETCH(QChar, separator);
    QFETCH(QStringList, fields);
    QCOMPARE(SplitDelimitedLine(line, separator), fields);
}

void TestRules::stripFieldQuotes()
{
    // One pair of enclosing quotes goes, and only one.
    QStringList quoted { "\"a\"", "\"\"a\"\"", "\"", "\"a", "a\"", "a\"b\"c", "" };
    StripFieldQuotes(quoted);
    QCOMPARE(quoted, QStringList({ "a", "\"a\"", "", "\"a", "a\"", "a\"b\"c", "" }));
}

void TestRules::clock()
{
    // A fixed moment holds until it is forgotten; then the system clock answers.
    const int generation = Clock::generation();
    QCOMPARE(Clock::now(), TestNow());
    Clock::reset();
    QVERIFY(Clock::generation() > generation);
    QVERIFY(Clock::now().isValid() && qAbs(Clock::now().secsTo(QDateTime::currentDateTime())) < 60);
    const QDateTime first = Clock::now();
    QTest::qWait(20);
    QCOMPARE(Clock::now(), first);
}

GRIDCOL_TEST_MAIN(TestRules)
void TestRules::outputTexts()
{
    // The outputs' own number and day texts read as Qt's.
    QByteArray numbers, expected;
    for (const qint64 value : { qint64(0), qint64(1), qint64(-1), qint64(9), qint64(10), qint64(1999999999),
                                qint64(std::numeric_limits<int>::max()), qint64(std::numeric_limits<int>::min()),
                                std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min() }) {
        AppendDecimal(numbers, value);
        numbers += ' ';
        expected += QByteArray::number(value) + ' ';
    }
    QCOMPARE(numbers, expected);

    // Ten thousand days, more than the memory of days holds, twice over,
    // and dates that are not local ones.
    DayBytes days;
    QList<QDateTime> dates;
    for (int day = 0; day < 10000; day += 1 + day % 3)
        dates << Day("01.01.2000").addDays(day).addSecs(day % 5 == 0 ? 3600 : 0);
    // The same moment is the 15th in UTC and the 16th here.
    const QDateTime utc(QDate(2026, 6, 15), QTime(23, 30), Qt::UTC);
    dates << utc << utc.toLocalTime() << utc << QDateTime();
    for (int round = 0; round < 2; ++round) {
        for (const QDateTime &date : qAsConst(dates))
            QCOMPARE(days.text(date, date.toMSecsSinceEpoch()), DayText(date).toLocal8Bit());
    }
}

void TestRules::contactFrequency()
{
    // Every text reads as the C locale's full conversion reads it, bit for
    // bit; nothing, a zero and no number at all fall back on the band.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    QStringList texts { "144.300", "1296", "0144.3000", "0.1", "0.3", "144.", ".5", "1.2.3",
                        "144,300", "1,296.2", " 144.3", "144.3 ", "+144", "-144", "1e3", "nan",
                        "inf", "0x90", "0", "0.000", "", "999999999999999", "9999999999999999",
                        "12345678901234.5", "1234567890123.45", "0.000000000000001", "144.30000000000001",
                        // Sixteen digits: dividing their rounded whole number rounds twice.
                        "91399620.84340797", "944608837.2433843", "986.5452293525111",
                        QString::fromUtf8("１４４") };
    // Plain decimals of every length and point position, as a log may hold them.
    quint32 seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int length = 1 + int(seed >> 16) % 17;
        QString text;
        for (int k = 0; k < length; ++k) {
            seed = seed * 1103515245u + 12345u;
            text += QChar('0' + int(seed >> 16) % 10);
        }
        seed = seed * 1103515245u + 12345u;
        const int point = int(seed >> 16) % (length + 2);
        if (point > 0 && point < length)
            text.insert(point, '.');
        texts << text;
    }
    for (const QString &text : qAsConst(texts)) {
        double expected = c.toDouble(text);
        if (qIsNaN(expected))
            expected = 0.0;
        const double band = expected == 0.0 ? 432.0 : expected;
        const double got = ContactFrequency(text, u"70cm");
        if (memcmp(&got, &band, sizeof got) != 0)
            QFAIL(qPrintable(QStringLiteral("%1 reads as %2, not %3").arg(text).arg(got, 0, 'g', 17).arg(band, 0, 'g', 17)));
    }
    QCOMPARE(ContactFrequency(u"", u"23CM"), 1296.0);
    QCOMPARE(ContactFrequency(u"abc", u"9cm"), 3400.0);
    QCOMPARE(ContactFrequency(u"0", u"20m"), 0.0);
}

void TestRules::readInOrder_data()
{
    QTest::addColumn<QVector<int>>("parts"); // the number of parts of each file
    QTest::addColumn<int>("readers");
    // A queue holds 8 parts: longer files make their reader wait for the taker.
    QTest::newRow("one file, one reader") << QVector<int> { 3 } << 1;
    QTest::newRow("more readers than files") << QVector<int> { 2 } << 3;
    QTest::newRow("long files, one reader") << QVector<int> { 40, 1, 25 } << 1;
    QTest::newRow("long files, two readers") << QVector<int> { 40, 1, 25, 9, 1, 1, 30 } << 2;
    QTest::newRow("three readers") << QVector<int> { 1, 17, 1, 33, 2, 8, 9, 1 } << 3;
}

void TestRules::readInOrder()
{
    // Whatever thread reads a file and however far it gets ahead, the parts
    // are taken in file by file, each file's in its order.
    struct Part
    {
        int file = 0;
        int number = 0;
        bool last = false;
    };
    QFETCH(QVector<int>, parts);
    QFETCH(int, readers);
    QStringList expected, taken;
    for (int file = 0; file < parts.size(); ++file) {
        for (int k = 0; k < parts.at(file); ++k)
            expected << QStringLiteral("%1:%2").arg(file).arg(k);
    }
    ReadInOrder<Part>(
        parts.size(),
        [&parts](int file, auto &&handOn) {
            for (int k = 0; k < parts.at(file); ++k)
                handOn(Part { file, k, k + 1 == parts.at(file) });
        },
        [&taken](const Part &part) { taken << QStringLiteral("%1:%2").arg(part.file).arg(part.number); }, readers);
    QCOMPARE(taken, expected);
}

#include "tst_rules.moc"
