// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "piecedevice.h"
#include "testsupport.h"

#include <QDir>
#include <QMap>

/*
 * The ADIF parser's state machine as rows of input bytes, and real logs read
 * whole, cut short and in pieces.
 */

namespace {

/// The size of the blocks the parser reads, to put characters on their border.
constexpr int readBlockSize = 1 << 20;

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

    void tags_data() { AddRows("adifparser/tags.tsv"); }

    void tags()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, parsed);
        if (LocalEncodingDiffers(input))
            QSKIP("the local 8-bit encoding is not UTF-8");
        QCOMPARE(Read(AdifStore, input), 0);
        QCOMPARE(Parsed(AdifStore), parsed);
    }

    void hostileInput_data()
    {
        // Declared lengths: a value only grows with the characters actually read.
        AddRows("adifparser/hostileInput.tsv");
        const QByteArray many(3 * readBlockSize, 'x');
        Row("two thousand million, cut by the end", "<CALL:1>A<eor><NOTES:2000000000>" + many + "<eor>",
            "[CALL] 1|CALL=A");
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

    void hostileInput() { tags(); }

    void realLogs_data()
    {
        QTest::addColumn<QString>("name");
        const QDir expected(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected"), QStringLiteral("*.store"));
        for (const QString &file : expected.entryList(QDir::Files))
            QTest::newRow(qPrintable(file)) << file.chopped(6);
    }

    void realLogs()
    {
        QFETCH(QString, name);
        QCOMPARE(AdifStore.ReadAdifFile(logFolder + name, nullptr, nullptr), 0);
        COMPARE_TEXT(Records(AdifStore).join(QLatin1Char('\n')).toUtf8() + '\n',
            ReadFileBytes(QStringLiteral(GRIDCOL_TEST_DATA "/adif/expected/") + name + QStringLiteral(".store")));
    }

    void everyPrefixOfARealLog_data() { AddRows("adifparser/everyPrefixOfARealLog.tsv"); }

    void everyPrefixOfARealLog()
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

    void inPieces_data()
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

    void inPieces()
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

    void brokenCharactersCutAnywhere()
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
};

GRIDCOL_TEST_MAIN(TestAdifParser)
#include "tst_adifparser.moc"
