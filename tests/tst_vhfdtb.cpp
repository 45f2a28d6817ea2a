#include "testsupport.h"

#include "app/clock.h"
#include "database/calldatabase.h"
#include "readers/vhfdtb.h"
#include "writers/n1mmfile.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

/// One record as WinTest stores it: the fields padded with zero bytes.
QByteArray Record(const QByteArray &call, const QByteArray &locator, const QByteArray &monthYear = "1226")
{
    QByteArray record(26, '\0');
    record.replace(0, call.size(), call);
    record.replace(14, locator.size(), locator);
    record.replace(21, monthYear.size(), monthYear);
    return record;
}

} // namespace

class TestVhfDtb : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(Day("06.12.2026 10:00")); }

    void parseRecord_data();
    void parseRecord();
    void everyLength();
    void readerAddsWithWeightOne();
    void missingOrDirectory();
    void writer_data();
    void writer();
    void writeThenRead();
};

void TestVhfDtb::parseRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("locator");

    QTest::newRow("plain") << Record("DL1ABC", "JO62QM") << "DL1ABC" << "JO62QM";
    QTest::newRow("second record of a call") << Record("DL1ABC ", "JO62QN") << "DL1ABC " << "JO62QN";
    QTest::newRow("full fields") << Record("DL1ABCDEFGHIJ", "JO62QM") << "DL1ABCDEFGHIJ" << "JO62QM";
    QTest::newRow("empty fields") << QByteArray(26, '\0') << "" << "";
    QTest::newRow("no zero bytes at all")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ") << "ABCDEFGHIJKLMN" << "OPQRSTU";
    QTest::newRow("Latin-1 bytes are not UTF-8")
        << Record("\xc4" "1X", "JO62") << QString::fromUtf8("\xef\xbf\xbd" "1X") << "JO62";
    QTest::newRow("bytes above 0x7F and no zero in the call field")
        << QByteArray(26, '\xe9') << QString(14, QChar(0xfffd)) << QString(7, QChar(0xfffd));
}

void TestVhfDtb::parseRecord()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, call);
    QFETCH(QString, locator);
    const VhfDtbRecord parsed = ParseVhfDtbRecord(record.constData());
    QCOMPARE(parsed.call, call);
    QCOMPARE(parsed.locator, locator);
}

void TestVhfDtb::everyLength()
{
    const QByteArray two = Record("DL1ABC", "JO62QM") + Record("DK2XY", "JN58TD") + "DL7";
    for (int length = 0; length <= two.size(); ++length) {
        ResetProgramState(Day("06.12.2026 10:00"));
        QTemporaryDir dir;
        QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("vhf.dtb")), two.left(length)));
        StreamCapture console(StreamCapture::Console);
        ReadVhfDtb(dir.path());
        const int records = length / 26;
        QCOMPARE(console.text(), QStringLiteral("VHF.DTB found, read ...  %1 Calls\n").arg(records).toUtf8());
        QCOMPARE(CallDatabase.size(), records);
    }
}

void TestVhfDtb::readerAddsWithWeightOne()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("vhf.dtb")),
                           Record("dl1abc", "jo62qm") + Record("DL1ABC ", "JO62QN") + Record("", "JO62")
                               + Record("DK2XY", "") + Record("DL1ABC", "JO62QM")));
    StreamCapture console(StreamCapture::Console);
    ReadVhfDtb(dir.path());
    QCOMPARE(console.text(), QByteArray("VHF.DTB found, read ...  5 Calls\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 2 06.12.2026", "DL1ABC JO62QN 1 06.12.2026",
                                           " JO62 1 06.12.2026", "DK2XY  1 06.12.2026" }));
    QCOMPARE(CallDatabase.at(0).locators.at(0).date, Day("06.12.2026 10:00"));
}

void TestVhfDtb::missingOrDirectory()
{
    QTemporaryDir dir;
    StreamCapture console(StreamCapture::Console);
    ReadVhfDtb(dir.path());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("vhf.dtb")));
    ReadVhfDtb(dir.path());
    QCOMPARE(console.text(), QByteArray());
    QVERIFY(CallDatabase.isEmpty());
}

void TestVhfDtb::writer_data()
{
    QTest::addColumn<QStringList>("adds"); // "call|locator|weight|dd.MM.yyyy"
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("empty database") << QStringList {} << QByteArray();
    QTest::newRow("one locator") << QStringList { "DL1ABC|JO62QM|3|01.05.2026" } << Record("DL1ABC", "JO62QM");
    QTest::newRow("three locators give two records, best first")
        << QStringList { "DL1ABC|JO62QM|3|01.05.2026", "DL1ABC|JO62QN|7|01.05.2026", "DL1ABC|JO62RM|2|01.05.2026" }
        << Record("DL1ABC", "JO62QN") + Record("DL1ABC ", "JO62QM");
    QTest::newRow("calls in call order")
        << QStringList { "OK1KPA|JO60LJ|1|01.05.2026", "DK2XY|JN58TD|1|01.05.2026" }
        << Record("DK2XY", "JN58TD") + Record("OK1KPA", "JO60LJ");
    QTest::newRow("13 characters leave no room for the blank")
        << QStringList { "DL1ABCDEFGHIJ|JO62QM|2|01.05.2026", "DL1ABCDEFGHIJ|JO62QN|1|01.05.2026" }
        << Record("DL1ABCDEFGHIJ", "JO62QM") + Record("DL1ABCDEFGHIJ", "JO62QN");
    QTest::newRow("long call and locator are cut")
        << QStringList { "DL1ABCDEFGHIJKLM|JO62QM12|1|01.05.2026" } << Record("DL1ABCDEFGHIJ", "JO62QM");
    QTest::newRow("Latin-1 and beyond")
        << QStringList { QString::fromUtf8("\xc3\x84" "1X|JO62|1|01.05.2026"),
                         QString::fromUtf8("\xe2\x82\xac" "1X|JO62|1|01.05.2026") }
        << Record("\xc4" "1X", "JO62") + Record("?1X", "JO62");
}

void TestVhfDtb::writer()
{
    QFETCH(QStringList, adds);
    QFETCH(QByteArray, file);
    AddRecords(adds);
    QCOMPARE(BuildVhfDtb().toHex(' '), file.toHex(' '));
}

void TestVhfDtb::writeThenRead()
{
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QM"), Day("01.01.2025"), 5);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62QN"), Day("01.01.2026"), 1);
    AddCallLocator(QStringLiteral("DL1ABC"), QStringLiteral("JO62RM"), Day("01.05.2026"), 1);
    AddCallLocator(QStringLiteral("DK2XY"), QStringLiteral("JN58TD"), Day("01.01.2026"), 4);
    BuildN1mmText();
    const QByteArray written = BuildVhfDtb();
    QCOMPARE(written.size(), 3 * 26);

    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("vhf.dtb")), written));
    ResetProgramState(Day("07.12.2026 09:00"));
    StreamCapture console(StreamCapture::Console);
    ReadVhfDtb(dir.path());
    // The newest weight-1 locator jumps ahead of the heavy one, which then
    // still beats the older weight-1 locator: RM, QM, QN. Only two are written,
    // and the blank after the call of the second record goes when the call is
    // simplified.
    QCOMPARE(DumpDatabase(), QStringList({ "DK2XY JN58TD 1 07.12.2026", "DL1ABC JO62RM 1 07.12.2026",
                                           "DL1ABC JO62QM 1 07.12.2026" }));
}

GRIDCOL_TEST_MAIN(TestVhfDtb)
#include "tst_vhfdtb.moc"
