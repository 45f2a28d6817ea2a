#include "testsupport.h"

#include "adif/adifdatabase.h"
#include "app/clock.h"
#include "app/driver.h"
#include "readers/adiflog.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <cmath>

namespace {

QString DataPath(const QString &relative)
{
    return QStringLiteral(GRIDCOL_TEST_DATA "/adif/") + relative;
}

QStringList ExpectedLines(const QString &path)
{
    QStringList lines = QString::fromUtf8(ReadFileBytes(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TestAdifLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void contactFrequency_data();
    void contactFrequency();
    void records_data();
    void records();
    void fileWithoutLocators();
    void unreadableFile();
    void directory();
    void stepOfTheDirectoryWalk();
    void realLogs_data();
    void realLogs();
};

void TestAdifLog::contactFrequency_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("band");
    QTest::addColumn<double>("megahertz");

    QTest::newRow("FREQ wins over BAND") << "144.300"
                                         << "2m" << 144.3;
    QTest::newRow("FREQ below 2 m whatever the band") << "50.150"
                                                      << "2m" << 50.15;
    QTest::newRow("blanks around the number") << " 432.1 "
                                              << "" << 432.1;
    QTest::newRow("exponent") << "1.2962e3"
                              << "" << 1296.2;
    QTest::newRow("too large for a double is infinite") << "1e400"
                                                        << "" << HUGE_VAL;
    QTest::newRow("comma is no decimal point") << "144,300"
                                               << "2m" << 144.0;
    QTest::newRow("not a number, no band") << "abc"
                                           << "" << 0.0;
    QTest::newRow("nan is not a number either") << "nan"
                                                << "70cm" << 432.0;
    QTest::newRow("zero falls back to the band") << "0"
                                                 << "23cm" << 1296.0;
    QTest::newRow("negative stays") << "-5"
                                    << "2m" << -5.0;
    QTest::newRow("empty FREQ, 2m") << ""
                                    << "2m" << 144.0;
    QTest::newRow("70CM") << ""
                          << "70CM" << 432.0;
    QTest::newRow("23Cm") << ""
                          << "23Cm" << 1296.0;
    QTest::newRow("13cm") << ""
                          << "13cm" << 2320.0;
    QTest::newRow("9CM") << ""
                         << "9CM" << 3400.0;
    QTest::newRow("6m is no known band") << ""
                                         << "6m" << 0.0;
    QTest::newRow("3cm is no known band") << ""
                                          << "3cm" << 0.0;
    QTest::newRow("band with blanks is no known band") << ""
                                                       << " 2m" << 0.0;
}

void TestAdifLog::contactFrequency()
{
    QFETCH(QString, freq);
    QFETCH(QString, band);
    QFETCH(double, megahertz);
    QCOMPARE(ContactFrequency(freq, band), megahertz);
}

void TestAdifLog::records_data()
{
    QTest::addColumn<QByteArray>("adif");
    QTest::addColumn<QByteArray>("console");
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QStringList>("dump");

    // Now is 15.06.2026 12:00; "log" is what follows "ADIF QSOs %d\n".
    QTest::newRow("FREQ 144.300 and BAND 2m") << QByteArray(
        "<CALL:6>dl1abc<GRIDSQUARE:6>jo62qm<QSO_DATE:8>20260501<FREQ:7>144.300<BAND:2>2m<EOR>")
                                              << QByteArray("1 of 1\n")
                                              << QByteArray("DL1ABC JO62QM 01.05.2026\n")
                                              << QStringList { "DL1ABC JO62QM 1 01.05.2026" };
    QTest::newRow("FREQ 50.150 passes silently whatever its band") << QByteArray(
        "<CALL:6>DL1ABC<GRIDSQUARE:6>JO62QM<QSO_DATE:8>20260501<FREQ:6>50.150<BAND:2>2m<EOR>")
                                                                   << QByteArray("0 of 1\n")
                                                                   << QByteArray()
                                                                   << QStringList {};
    QTest::newRow("no FREQ, BAND 70cm; BAND 6m")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:4>70cm<EOR>"
                      "<CALL:2>A2<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:2>6m<EOR>")
        << QByteArray("1 of 2\n") << QByteArray("A1 JO62 01.05.2026\n")
        << QStringList { "A1 JO62 1 01.05.2026" };
    QTest::newRow("FREQ with a comma falls back to the band")
        << QByteArray(
               "<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<FREQ:7>144,300<BAND:2>2M<EOR>"
               "<CALL:2>A2<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<FREQ:7>144,300<BAND:2>6m<EOR>")
        << QByteArray("1 of 2\n") << QByteArray("A1 JO62 01.05.2026\n")
        << QStringList { "A1 JO62 1 01.05.2026" };
    QTest::newRow("exactly 144.0 is in, just below is not")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<FREQ:5>144.0<EOR>"
                      "<CALL:2>A2<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<FREQ:7>143.999<EOR>")
        << QByteArray("1 of 2\n") << QByteArray("A1 JO62 01.05.2026\n")
        << QStringList { "A1 JO62 1 01.05.2026" };
    QTest::newRow("no locator") << QByteArray(
        "<CALL:6>N0CALL<QSO_DATE:8>20260501<FREQ:5>432.1<EOR>")
                                << QByteArray("0 of 1\n")
                                << QByteArray("Adif failed - N0CALL  01.05.2026 432.100000\n")
                                << QStringList {};
    QTest::newRow("no call, blank locator, no date")
        << QByteArray(
               "<GRIDSQUARE:6>JO62QM<FREQ:4>1296<EOR><CALL:2>A1<GRIDSQUARE:3>   <BAND:2>2m<EOR>")
        << QByteArray("0 of 2\n")
        << QByteArray("Adif failed -  JO62QM  1296.000000\nAdif failed - A1   144.000000\n")
        << QStringList {};
    QTest::newRow("below 2 m without call passes silently")
        << QByteArray("<GRIDSQUARE:6>JO62QM<FREQ:4>14.1<EOR>") << QByteArray("0 of 1\n")
        << QByteArray() << QStringList {};
    QTest::newRow("field names in any case")
        << QByteArray("<call:5>G4ZZT<Gridsquare:6>io91vl<Qso_Date:8>20260102<freq:7>432.200<EOR>")
        << QByteArray("1 of 1\n") << QByteArray("G4ZZT IO91VL 02.01.2026\n")
        << QStringList { "G4ZZT IO91VL 1 02.01.2026" };
    QTest::newRow("a date that does not parse still counts")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:10>2026-05-01<FREQ:3>145<EOR>")
        << QByteArray("1 of 1\n") << QByteArray("A1 JO62 24.11.-4714\nQSO too old\n")
        << QStringList {};
    QTest::newRow("too old still counts")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20210501<FREQ:3>145<EOR>")
        << QByteArray("1 of 1\n") << QByteArray("A1 JO62 01.05.2021\nQSO too old\n")
        << QStringList {};
    QTest::newRow("a 1970s date moves a century")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>19791231<FREQ:3>145<EOR>")
        << QByteArray("1 of 1\n") << QByteArray("A1 JO62 31.12.2079\n")
        << QStringList { "A1 JO62 1 31.12.2079" };
    QTest::newRow("ten records, four of them usable on 2 m")
        << QByteArray("<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:2>2m<EOR>"
                      "<CALL:2>A2<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:3>20m<EOR>"
                      "<CALL:2>A3<QSO_DATE:8>20260501<BAND:2>2m<EOR>"
                      "<CALL:2>A4<GRIDSQUARE:4>JO63<QSO_DATE:8>20260502<BAND:2>2m<EOR>"
                      "<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260503<BAND:2>2m<EOR>"
                      "<CALL:2>A5<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:2>6m<EOR>"
                      "<CALL:2>A6<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<FREQ:5>7.074<EOR>"
                      "<EOR>"
                      "<CALL:3>A 7<GRIDSQUARE:4>jn58<QSO_DATE:8>20260504<FREQ:6>144.05<EOR>"
                      "<CALL:2>A8<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:3>40m<EOR>")
        << QByteArray("4 of 10\n")
        << QByteArray(
               "A1 JO62 01.05.2026\nAdif failed - A3  01.05.2026 144.000000\nA4 JO63 02.05.2026\n"
               "A1 JO62 03.05.2026\nA 7 JN58 04.05.2026\n")
        << QStringList { "A1 JO62 2 03.05.2026", "A4 JO63 1 02.05.2026", "A 7 JN58 1 04.05.2026" };
}

void TestAdifLog::records()
{
    QFETCH(QByteArray, adif);
    QFETCH(QByteArray, console);
    QFETCH(QByteArray, log);
    QFETCH(QStringList, dump);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.adi"));
    QVERIFY(WriteFileBytes(path, adif));
    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    const int accepted = ImportAdifFile(QFileInfo(path));
    COMPARE_TEXT(consoleText.text(), "Verarbeite log.adi ... " + console);
    const int records = AdifStore.RecordCount();
    COMPARE_TEXT(logText.text(),
                 "Verarbeite log.adi \nADIF QSOs " + QByteArray::number(records) + '\n' + log);
    QCOMPARE(console, QByteArray::number(accepted) + " of " + QByteArray::number(records) + '\n');
    QCOMPARE(DumpDatabase(), dump);
}

void TestAdifLog::fileWithoutLocators()
{
    // No catalogue and no GRIDSQUARE anywhere: every 2 m record is reported.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("calls.ADI"));
    QVERIFY(
        WriteFileBytes(path,
                       "<CALL:2>A1<BAND:2>2m<EOR><CALL:2>A2<BAND:4>70CM<QSO_DATE:8>20260501<EOR>"));
    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    QCOMPARE(ImportAdifFile(QFileInfo(path)), 0);
    COMPARE_TEXT(consoleText.text(), "Verarbeite calls.ADI ... 0 of 2\n");
    COMPARE_TEXT(logText.text(),
                 "Verarbeite calls.ADI \nADIF QSOs 2\n"
                 "Adif failed - A1   144.000000\nAdif failed - A2  01.05.2026 432.000000\n");
    // The import's lookups added the missing names to the catalogue.
    QStringList names;
    for (int i = 0; i < AdifStore.FieldCount(); ++i)
        names.append(AdifStore.FieldName(i));
    QCOMPARE(names, QStringList({ "CALL", "BAND", "QSO_DATE", "GRIDSQUARE", "FREQ" }));
}

void TestAdifLog::unreadableFile()
{
    QTemporaryDir dir;
    AdifStore.FieldIndex(QStringLiteral("CALL"));
    AdifStore.StoreRecord(AdifRecord());
    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    QCOMPARE(ImportAdifFile(QFileInfo(dir.filePath(QStringLiteral("gone.adi")))), 0);
    COMPARE_TEXT(consoleText.text(), "Verarbeite gone.adi ... 0 of 0\n");
    COMPARE_TEXT(logText.text(), "Verarbeite gone.adi \nADIF QSOs 0\n");
}

void TestAdifLog::directory()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("b.adi")),
                           "<CALL:2>B1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:2>2m<EOR>"));
    QVERIFY(WriteFileBytes(
        dir.filePath(QStringLiteral("A.ADI")),
        "hdr<eoh><CALL:2>A1<GRIDSQUARE:4>JN58<QSO_DATE:8>20260501<FREQ:7>432.200<EOR>"
        "<CALL:2>A2<GRIDSQUARE:4>JN58<QSO_DATE:8>20260501<FREQ:5>7.074<EOR>"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("c.adif")), "<CALL:2>C1<EOR>"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("notes.txt")), "<CALL:2>C1<EOR>"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.adi")));

    StreamCapture consoleText(StreamCapture::Console);
    ImportAdifFiles(dir.path());
    // Each file starts with an empty store; names ignore case, in name order.
    COMPARE_TEXT(consoleText.text(), "Verarbeite A.ADI ... 1 of 2\nVerarbeite b.adi ... 1 of 1\n");
    QCOMPARE(DumpDatabase(), QStringList({ "A1 JN58 1 01.05.2026", "B1 JO62 1 01.05.2026" }));
    QCOMPARE(AdifStore.RecordCount(), 1);
    QCOMPARE(AdifStore.GetRecord(0).id, 1);
}

void TestAdifLog::stepOfTheDirectoryWalk()
{
    QTemporaryDir dir;
    QVERIFY(
        WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat")), "A1,JO62,01.05.2026,3\n"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("log.adi")),
                           "<CALL:2>A1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260502<BAND:2>2m<EOR>"));
    QSettings settings(dir.filePath(QStringLiteral("gridcol.ini")), QSettings::IniFormat);
    StreamCapture consoleText(StreamCapture::Console);
    ProcessSourceDirectory(settings, dir.path());
    const QByteArray text = consoleText.text();
    QVERIFY2(text.endsWith("Verarbeite log.adi ... 1 of 1\n"), text.constData());
    QVERIFY(text.indexOf("calls_loc.dat found") < text.indexOf("Verarbeite"));
    QCOMPARE(DumpDatabase(), QStringList({ "A1 JO62 4 02.05.2026" }));
}

void TestAdifLog::realLogs_data()
{
    QTest::addColumn<QString>("name");
    const QDir expected(DataPath(QStringLiteral("expected")), QStringLiteral("*.dump"));
    for (const QString &file : expected.entryList(QDir::Files))
        QTest::newRow(qPrintable(file.chopped(5))) << file.chopped(5);
}

void TestAdifLog::realLogs()
{
    QFETCH(QString, name);
    // The first lines give the moment the log is read at and the counts
    // worked out from the file; the database dump follows.
    QStringList dump
        = ExpectedLines(DataPath(QStringLiteral("expected/")) + name + QStringLiteral(".dump"));
    QVERIFY(dump.size() >= 3);
    const QString now = dump.takeFirst().section(QLatin1Char(' '), 1);
    const int records = dump.takeFirst().section(QLatin1Char(' '), 1).toInt();
    const int accepted = dump.takeFirst().section(QLatin1Char(' '), 1).toInt();
    Clock::setNow(QDateTime::fromString(now, Qt::ISODate));

    const QString example = QStringLiteral(GRIDCOL_SOURCE_DIR "/example/adif.txt");
    AdifStore.LoadFieldCatalogue(0, example);
    QVERIFY(AdifStore.FieldCount() > 50);

    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    QCOMPARE(ImportAdifFile(QFileInfo(DataPath(QStringLiteral("logs/")) + name)), accepted);
    QCOMPARE(AdifStore.RecordCount(), records);
    COMPARE_TEXT(consoleText.text(),
                 "Verarbeite " + name.toUtf8() + " ... " + QByteArray::number(accepted) + " of "
                     + QByteArray::number(records) + '\n');
    COMPARE_TEXT(logText.text(),
                 ReadFileBytes(DataPath(QStringLiteral("expected/")) + name
                               + QStringLiteral(".log")));
    QCOMPARE(DumpDatabase(), dump);
}

GRIDCOL_TEST_MAIN(TestAdifLog)
#include "tst_adiflog.moc"
