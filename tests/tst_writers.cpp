#include "testsupport.h"

#include "database/calldatabase.h"
#include "writers/n1mmfile.h"
#include "writers/outputfile.h"
#include "writers/superchecklist.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

/// Limits the size of files this process may write, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved {};
};

} // namespace

class TestWriters : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void outputs_data();
    void outputs();
    void n1mmSortsTheDatabaseForGood();
    void saveReplacesTheFile();
    void saveFailures_data();
    void saveFailures();
    void fullDiskKeepsThePreviousFile();
};

void TestWriters::outputs_data()
{
    QTest::addColumn<QStringList>("adds");
    QTest::addColumn<QByteArray>("n1mm");
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QByteArray>("scp");

    QTest::newRow("empty") << QStringList {} << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("one locator") << QStringList { "dl1abc|jo62qm|3|01.05.2026" } << QByteArray("DL1ABC;;JO62QM\n")
                                 << QByteArray("DL1ABC JO62QM (3 01.05.2026) \n") << QByteArray("DL1ABC\n");
    QTest::newRow("two and five locators")
        << QStringList { "OK1KPA|JO60LJ|9|06.09.2025", "OK1KPA|JN79FX|1|06.06.2026", "DK2XY|JN58TA|1|01.05.2026",
                         "DK2XY|JN58TB|2|01.05.2026", "DK2XY|JN58TC|6|01.05.2026", "DK2XY|JN58TD|4|01.05.2026",
                         "DK2XY|JN58TE|1|02.05.2026" }
        // TE, newer and of weight 1, jumps ahead of TD on its way through the
        // quicksort, although TD is heavier: the order is no strict weak order.
        << QByteArray("DK2XY;;JN58TC;JN58TB;\n"
                      "OK1KPA;;JN79FX;JO60LJ;\n")
        << QByteArray("DK2XY JN58TC (6 01.05.2026) JN58TB (2 01.05.2026) JN58TE (1 02.05.2026) "
                      "JN58TD (4 01.05.2026) JN58TA (1 01.05.2026) \n"
                      "OK1KPA JN79FX (1 06.06.2026) JO60LJ (9 06.09.2025) \n")
        << QByteArray("DK2XY\nOK1KPA\n");
    QTest::newRow("text order of calls")
        << QStringList { "AB2|AA00|1|01.05.2026", "AA1|AA00|1|01.05.2026", "AB10|AA00|1|01.05.2026",
                         "DL1ABC/P|AA00|1|01.05.2026", "9A1A|AA00|1|01.05.2026", "DL1ABC|AA00|1|01.05.2026" }
        << QByteArray("9A1A;;AA00\nAA1;;AA00\nAB10;;AA00\nAB2;;AA00\nDL1ABC;;AA00\nDL1ABC/P;;AA00\n")
        << QByteArray("9A1A AA00 (1 01.05.2026) \nAA1 AA00 (1 01.05.2026) \nAB10 AA00 (1 01.05.2026) \n"
                      "AB2 AA00 (1 01.05.2026) \nDL1ABC AA00 (1 01.05.2026) \nDL1ABC/P AA00 (1 01.05.2026) \n")
        << QByteArray("9A1A\nAA1\nAB10\nAB2\nDL1ABC\nDL1ABC/P\n");
}

void TestWriters::outputs()
{
    QFETCH(QStringList, adds);
    QFETCH(QByteArray, n1mm);
    QFETCH(QByteArray, listing);
    QFETCH(QByteArray, scp);
    AddRecords(adds);
    COMPARE_TEXT(BuildN1mmText().toUtf8(), n1mm);
    COMPARE_TEXT(BuildCallsLocListing(), listing);
    COMPARE_TEXT(BuildSuperCheckList(), scp);
}

void TestWriters::n1mmSortsTheDatabaseForGood()
{
    AddRecords({ "B2|AA00|1|01.05.2026", "A1|AA00|1|01.05.2026" });
    BuildN1mmText();
    QCOMPARE(CallDatabase.at(0).call, QStringLiteral("A1"));
    QCOMPARE(FindCall(QStringLiteral("B2")), 1);
}

void TestWriters::saveReplacesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(WriteFileBytes(QStringLiteral("master.scp"), "OLD\nCONTENT\n"));
    StreamCapture console(StreamCapture::Console);
    QVERIFY(SaveOutputFile(QStringLiteral("master.scp"), "NEW\n"));
    QVERIFY(SaveOutputFile(QStringLiteral("calls_loc.dat"), QByteArray()));
    QCOMPARE(ReadFileBytes(QStringLiteral("master.scp")), QByteArray("NEW\n"));
    QCOMPARE(ReadFileBytes(QStringLiteral("calls_loc.dat")), QByteArray());
    QCOMPARE(console.text(), QByteArray());
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList({ "calls_loc.dat", "master.scp" }));
}

void TestWriters::saveFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a directory in the way") << QStringLiteral("calls_loc.dat");
    QTest::newRow("a missing directory") << QStringLiteral("nowhere/calls_loc.dat");
}

void TestWriters::saveFailures()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(QDir().mkdir(QStringLiteral("calls_loc.dat")));
    StreamCapture console(StreamCapture::Console);
    QVERIFY(!SaveOutputFile(name, "DL1ABC,JO62QM,01.05.2026,3\n"));
    QCOMPARE(console.text(), QStringLiteral("Could not write %1\n").arg(name).toUtf8());
    QVERIFY(QFileInfo(QStringLiteral("calls_loc.dat")).isDir());
    // No temporary file is left behind.
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({ "calls_loc.dat" }));
}

void TestWriters::fullDiskKeepsThePreviousFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    const QByteArray previous = "DL1ABC,JO62QM,01.05.2026,3\n";
    QVERIFY(WriteFileBytes(QStringLiteral("calls_loc.dat"), previous));
    StreamCapture console(StreamCapture::Console);
    {
        FileSizeLimit limit(4096);
        QVERIFY(!SaveOutputFile(QStringLiteral("calls_loc.dat"), QByteArray(100000, 'x')));
    }
    QCOMPARE(ReadFileBytes(QStringLiteral("calls_loc.dat")), previous);
    QCOMPARE(console.text(), QByteArray("Could not write calls_loc.dat\n"));
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList({ "calls_loc.dat" }));
}

GRIDCOL_TEST_MAIN(TestWriters)
#include "tst_writers.moc"
