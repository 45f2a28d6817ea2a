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
    void linePieces_data()
    {
        AddRows("textlinereader/linePieces.tsv");
        // Pieces of 9 bytes over the border of the 64 KiB blocks read: the piece cut there goes on in the next block.
        const QByteArray longLine = QByteArray(65550, 'x') + '\n';
        QList<QByteArray> nines;
        for (int i = 0; i < longLine.size(); i += 9)
            nines << longLine.mid(i, 9);
        QTest::newRow("a long line in short pieces across a block boundary") << longLine << 10 << nines;
        QTest::newRow("CR LF across a block boundary") << QByteArray(64 * 1024 - 1, 'x')
                + "\r\nend\n" << 200000 << QList<QByteArray> { QByteArray(64 * 1024 - 1, 'x') + '\n', "end\n" };
    }

    void linePieces()
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
};

GRIDCOL_TEST_MAIN(TestTextLineReader)
#include "tst_textlinereader.moc"
