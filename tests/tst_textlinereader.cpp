// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "readers/textlinereader.h"

#include <QTemporaryDir>

/*
 * The line reader of the source files: its buffer, carriage-return and
 * end-of-file rules.
 */

class TestTextLineReader : public QObject
{
    Q_OBJECT

private slots:
    void linePieces_data();
    void linePieces();
};

void TestTextLineReader::linePieces_data()
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
    QTest::newRow("CR LF across a block boundary") << QByteArray(64 * 1024 - 1, 'x')
            + "\r\nend\n" << 200000 << Pieces { QByteArray(64 * 1024 - 1, 'x') + '\n', "end\n" };
}

void TestTextLineReader::linePieces()
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

GRIDCOL_TEST_MAIN(TestTextLineReader)
#include "tst_textlinereader.moc"
