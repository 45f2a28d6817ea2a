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

} // namespace

class TestAdifLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void contactFrequency_data();
    void contactFrequency();
    void logs_data();
    void logs();
    void directory();
    void stepOfTheDirectoryWalk();
};

void TestAdifLog::contactFrequency_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("band");
    QTest::addColumn<double>("megahertz");

    QTest::newRow("FREQ wins over BAND") << "144.300" << "2m" << 144.3;
    QTest::newRow("FREQ below 2 m whatever the band") << "50.150" << "2m" << 50.15;
    QTest::newRow("blanks around the number") << " 432.1 " << "" << 432.1;
    QTest::newRow("exponent") << "1.2962e3" << "" << 1296.2;
    QTest::newRow("too large for a double is infinite") << "1e400" << "" << HUGE_VAL;
    QTest::newRow("comma is no decimal point") << "144,300" << "2m" << 144.0;
    QTest::newRow("not a number, no band") << "abc" << "" << 0.0;
    QTest::newRow("nan is not a number either") << "nan" << "70cm" << 432.0;
    QTest::newRow("zero falls back to the band") << "0" << "23cm" << 1296.0;
    QTest::newRow("negative stays") << "-5" << "2m" << -5.0;
    QTest::newRow("empty FREQ, 2m") << "" << "2m" << 144.0;
    QTest::newRow("70CM") << "" << "70CM" << 432.0;
    QTest::newRow("23Cm") << "" << "23Cm" << 1296.0;
    QTest::newRow("13cm") << "" << "13cm" << 2320.0;
    QTest::newRow("9CM") << "" << "9CM" << 3400.0;
    QTest::newRow("6m is no known band") << "" << "6m" << 0.0;
    QTest::newRow("band with blanks is no known band") << "" << " 2m" << 0.0;
}

void TestAdifLog::contactFrequency()
{
    QFETCH(QString, freq);
    QFETCH(QString, band);
    QFETCH(double, megahertz);
    QCOMPARE(ContactFrequency(freq, band), megahertz);
}

void TestAdifLog::logs_data()
{
    QTest::addColumn<QString>("name");
    const QDir expected(DataPath(QStringLiteral("expected")), QStringLiteral("*.dump"));
    for (const QString &file : expected.entryList(QDir::Files))
        QTest::newRow(qPrintable(file.chopped(5))) << file.chopped(5);
}

void TestAdifLog::logs()
{
    QFETCH(QString, name);
    // "<log>.dump" starts with the moment the log is read at and the counts
    // worked out from the file; the database dump follows. "<log>.log" is
    // the debug log.
    const QString expected = DataPath(QStringLiteral("expected/")) + name;
    QStringList dump = QString::fromUtf8(ReadFileBytes(expected + QStringLiteral(".dump"))).split(QLatin1Char('\n'));
    QVERIFY(dump.size() >= 4 && dump.last().isEmpty());
    dump.removeLast();
    const QString now = dump.takeFirst().section(QLatin1Char(' '), 1);
    const QByteArray records = dump.takeFirst().section(QLatin1Char(' '), 1).toUtf8();
    const QByteArray accepted = dump.takeFirst().section(QLatin1Char(' '), 1).toUtf8();
    Clock::setNow(QDateTime::fromString(now, Qt::ISODate));

    AdifStore.LoadFieldCatalogue(0, QStringLiteral(GRIDCOL_SOURCE_DIR "/example/adif.txt"));
    QVERIFY(AdifStore.FieldCount() > 50);
    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    QCOMPARE(QByteArray::number(ImportAdifFile(QFileInfo(DataPath(QStringLiteral("logs/")) + name))), accepted);
    COMPARE_TEXT(consoleText.text(), "Verarbeite " + name.toUtf8() + " ... " + accepted + " of " + records + '\n');
    COMPARE_TEXT(logText.text(), ReadFileBytes(expected + QStringLiteral(".log")));
    QCOMPARE(DumpDatabase(), dump);
}

void TestAdifLog::directory()
{
    QTemporaryDir dir;
    // No catalogue and no GRIDSQUARE anywhere in the first file.
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("A.ADI")),
                           "<CALL:2>A1<BAND:2>2m<EOR><CALL:2>A2<BAND:4>70CM<QSO_DATE:8>20260501<EOR>"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("b.adi")),
                           "<CALL:2>B1<GRIDSQUARE:4>JO62<QSO_DATE:8>20260501<BAND:2>2m<EOR>"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("c.adif")), "<CALL:2>C1<EOR>"));
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("notes.txt")), "<CALL:2>C1<EOR>"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.adi")));

    StreamCapture consoleText(StreamCapture::Console);
    StreamCapture logText(StreamCapture::Log);
    ImportAdifFiles(dir.path());
    ImportAdifFile(QFileInfo(dir.filePath(QStringLiteral("gone.adi"))));
    // Each file starts with an empty store; names ignore case, in name order.
    COMPARE_TEXT(consoleText.text(),
                 "Verarbeite A.ADI ... 0 of 2\nVerarbeite b.adi ... 1 of 1\nVerarbeite gone.adi ... 0 of 0\n");
    COMPARE_TEXT(logText.text(), "Verarbeite A.ADI \nADIF QSOs 2\nAdif failed - A1   144.000000\n"
                                 "Adif failed - A2  01.05.2026 432.000000\nVerarbeite b.adi \nADIF QSOs 1\n"
                                 "B1 JO62 01.05.2026\nVerarbeite gone.adi \nADIF QSOs 0\n");
    QCOMPARE(DumpDatabase(), QStringList({ "B1 JO62 1 01.05.2026" }));
}

void TestAdifLog::stepOfTheDirectoryWalk()
{
    QTemporaryDir dir;
    QVERIFY(WriteFileBytes(dir.filePath(QStringLiteral("calls_loc.dat")), "A1,JO62,01.05.2026,3\n"));
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

GRIDCOL_TEST_MAIN(TestAdifLog)
#include "tst_adiflog.moc"
