#include "testsupport.h"

#include "readers/sourcefiles.h"
#include "readers/textlinereader.h"

#include <QDir>
#include <QTemporaryDir>

class TestTextLineReader : public QObject
{
    Q_OBJECT

private slots:
    void pieces_data();
    void pieces();
    void decoding_data();
    void decoding();
    void directoryDoesNotOpen();
    void listing();
};

void TestTextLineReader::pieces_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<bool>("atEndAfter");

    using Pieces = QList<QByteArray>;
    QTest::newRow("empty file") << QByteArray() << 99 << Pieces {} << true;
    QTest::newRow("lines with line ends") << QByteArray("a\nbc\n") << 99 << Pieces { "a\n", "bc\n" } << true;
    QTest::newRow("last line without line end is dropped") << QByteArray("a\nbc") << 99 << Pieces { "a\n" } << true;
    QTest::newRow("empty lines") << QByteArray("\n\nx\n") << 99 << Pieces { "\n", "\n", "x\n" } << true;
    QTest::newRow("CR LF reads as LF") << QByteArray("ab\r\ncd\r\n") << 99 << Pieces { "ab\n", "cd\n" } << true;
    QTest::newRow("lone CR stays") << QByteArray("a\rb\n\r\r\n") << 99 << Pieces { "a\rb\n", "\r\n" } << true;
    QTest::newRow("CR at the very end") << QByteArray("a\n\r") << 99 << Pieces { "a\n" } << true;
    QTest::newRow("long line in pieces") << QByteArray("abcdefgh\n") << 4
                                         << Pieces { "abc", "def", "gh\n" } << true;
    QTest::newRow("line end alone in its own piece") << QByteArray("abc\nd\n") << 4
                                                     << Pieces { "abc", "\n", "d\n" } << true;
    QTest::newRow("CR LF counts as one character") << QByteArray("ab\r\ncd\n") << 4
                                                   << Pieces { "ab\n", "cd\n" } << true;
    // The read that fills the buffer stops before it meets the end of the file.
    QTest::newRow("last piece filling the buffer") << QByteArray("abcdef") << 4 << Pieces { "abc", "def" }
                                                   << true;
    QTest::newRow("last piece short of the buffer") << QByteArray("abcde") << 4 << Pieces { "abc" } << true;
    QTest::newRow("NUL bytes are read") << QByteArray("a\0b\n", 4) << 99 << Pieces { QByteArray("a\0b\n", 4) }
                                        << true;
    QTest::newRow("CR LF across a block boundary")
        << QByteArray(64 * 1024 - 1, 'x') + "\r\nend\n" << 200000
        << Pieces { QByteArray(64 * 1024 - 1, 'x') + '\n', "end\n" } << true;
}

void TestTextLineReader::pieces()
{
    QFETCH(QByteArray, content);
    QFETCH(int, bufferSize);
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(bool, atEndAfter);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    QVERIFY(WriteFileBytes(path, content));
    TextLineReader reader(bufferSize);
    QVERIFY(reader.open(path));
    QList<QByteArray> read;
    QByteArray line;
    while (reader.readLine(line))
        read.append(line);
    QCOMPARE(read, pieces);
    QCOMPARE(reader.atEnd(), atEndAfter);
    QVERIFY(!reader.readLine(line));
}

void TestTextLineReader::decoding_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii") << QByteArray("DL1ABC\n") << QStringLiteral("DL1ABC\n");
    QTest::newRow("utf-8") << QByteArray("J\xc3\xb6rg\n") << QString::fromUtf8("J\xc3\xb6rg\n");
    QTest::newRow("ends at the first NUL") << QByteArray("ab\0cd\n", 6) << QStringLiteral("ab");
    QTest::newRow("invalid utf-8 is replaced") << QByteArray("a\xff" "b") << QString::fromUtf8("a\xef\xbf\xbd" "b");
}

void TestTextLineReader::decoding()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QCOMPARE(DecodeLine(raw), text);
}

void TestTextLineReader::directoryDoesNotOpen()
{
    QTemporaryDir dir;
    TextLineReader reader(99);
    QVERIFY(!reader.open(dir.path()));
    QVERIFY(!reader.open(dir.filePath(QStringLiteral("missing"))));
}

void TestTextLineReader::listing()
{
    QTemporaryDir dir;
    for (const char *name : { "calls_loc_b.dat", "CALLS_LOC.DAT", "calls_loc_a.dat", "calls_loc.txt",
                              ".calls_loc_hidden.dat", "other.dat" })
        QVERIFY(WriteFileBytes(dir.filePath(QString::fromLatin1(name)), "x\n"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("calls_loc_dir.dat")));

    QStringList names;
    for (const QFileInfo &file : ListSourceFiles(dir.path(), QStringLiteral("calls_loc*.dat")))
        names.append(file.fileName());
    // By name without regard to case; no directories, no hidden files.
    QCOMPARE(names, QStringList({ "CALLS_LOC.DAT", "calls_loc_a.dat", "calls_loc_b.dat" }));

    QVERIFY(ListSourceFiles(dir.filePath(QStringLiteral("missing")), QStringLiteral("*")).isEmpty());
}

GRIDCOL_TEST_MAIN(TestTextLineReader)
#include "tst_textlinereader.moc"
