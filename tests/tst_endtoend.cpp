#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

/*
 * Runs the real gridcol binary in a copy of a working directory, with standard
 * input closed and a fixed "now", and compares the console text, the debug log
 * and every output with the expected files.
 *
 * The cases: the bundled example working directory, and each folder of
 * tests/data/endtoend/ that holds an "input" working directory. Expected files
 * sit in the case's "expected" folder (for the example: tests/data/endtoend/example/expected):
 * console.txt, gridcol.dbg and the five outputs; an output missing there must
 * not exist after the run. With GRIDCOL_REGENERATE=1 in the environment the
 * expected files are rewritten from the run instead, for review with git diff.
 */

namespace {

const QStringList outputNames { "gridcol.dbg", "n1mm_qth.txt", "calls_loc.dbg", "master.scp", "calls_loc.dat",
                                "vhf.dtb" };

const char endToEndData[] = GRIDCOL_TEST_DATA "/endtoend";

struct RunResult
{
    bool finished = false;
    int exitCode = -1;
    QByteArray console;
    QByteArray errors;
};

RunResult RunGridcol(const QString &workingDirectory, const QString &shellPrefix = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("CET-1CEST,M3.5.0,M10.5.0/3"));
    environment.insert(QStringLiteral("GRIDCOL_NOW"), QStringLiteral("2026-12-06T10:00:00"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (shellPrefix.isEmpty()) {
        process.start(QStringLiteral(GRIDCOL_BINARY), QStringList());
    } else {
        process.start(QStringLiteral("/bin/sh"),
                      { QStringLiteral("-c"), shellPrefix + QStringLiteral(" exec \"$0\""),
                        QStringLiteral(GRIDCOL_BINARY) });
    }
    RunResult result;
    result.finished = process.waitForFinished(120000);
    result.exitCode = process.exitCode();
    result.console = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    return result;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void secondRunCarriesTheDatabaseOver();
    void fullDiskKeepsEveryPreviousOutput();
};

void TestEndToEnd::runs_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("example") << QStringLiteral(GRIDCOL_SOURCE_DIR "/example")
                             << QString::fromLatin1(endToEndData) + QStringLiteral("/example/expected");
    const QStringList cases = QDir(QString::fromLatin1(endToEndData)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : cases) {
        const QString folder = QString::fromLatin1(endToEndData) + QLatin1Char('/') + name;
        if (QFileInfo::exists(folder + QStringLiteral("/input")))
            QTest::newRow(qPrintable(name)) << folder + QStringLiteral("/input") << folder + QStringLiteral("/expected");
    }
}

void TestEndToEnd::runs()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    QTemporaryDir work;
    const QString workingDirectory = work.filePath(QStringLiteral("run"));
    QVERIFY(CopyTree(input, workingDirectory));

    const RunResult result = RunGridcol(workingDirectory);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.errors, QByteArray());

    if (qEnvironmentVariableIsSet("GRIDCOL_REGENERATE")) {
        QDir().mkpath(expected);
        WriteFileBytes(expected + QStringLiteral("/console.txt"), result.console);
        for (const QString &name : outputNames) {
            const QString produced = workingDirectory + QLatin1Char('/') + name;
            QFile::remove(expected + QLatin1Char('/') + name);
            if (QFileInfo(produced).isFile())
                QFile::copy(produced, expected + QLatin1Char('/') + name);
        }
        QSKIP("expected files regenerated");
    }

    COMPARE_TEXT(result.console, ReadFileBytes(expected + QStringLiteral("/console.txt")));
    for (const QString &name : outputNames) {
        const QString wanted = expected + QLatin1Char('/') + name;
        const QString produced = workingDirectory + QLatin1Char('/') + name;
        if (!QFileInfo::exists(wanted)) {
            QVERIFY2(!QFileInfo(produced).isFile(), qPrintable(name));
            continue;
        }
        if (name == QLatin1String("vhf.dtb"))
            QCOMPARE(ReadFileBytes(produced).toHex(' '), ReadFileBytes(wanted).toHex(' '));
        else
            COMPARE_TEXT(ReadFileBytes(produced), ReadFileBytes(wanted));
    }
}

void TestEndToEnd::secondRunCarriesTheDatabaseOver()
{
    QTemporaryDir work;
    QVERIFY(WriteFileBytes(work.filePath(QStringLiteral("gridcol.ini")), "[directories]\nhere=.\n"));
    QVERIFY(WriteFileBytes(work.filePath(QStringLiteral("calls_loc.dat")),
                           "DL1ABC,JO62QM,01.05.2026,3\nDK2XY,JN58TD,01.05.2026,1\nOLD1X,JO00AA,01.05.2021,9\n"));

    QVERIFY(RunGridcol(work.path()).finished);
    // The first run read calls_loc.dat; its vhf.dtb did not exist yet.
    QCOMPARE(ReadFileBytes(work.filePath(QStringLiteral("calls_loc.dat"))),
             QByteArray("DK2XY,JN58TD,01.05.2026,1\nDL1ABC,JO62QM,01.05.2026,3\n"));

    const RunResult second = RunGridcol(work.path());
    QVERIFY(second.finished);
    // The second run reads both back: the vhf.dtb records add weight 1 dated now.
    QCOMPARE(ReadFileBytes(work.filePath(QStringLiteral("calls_loc.dat"))),
             QByteArray("DK2XY,JN58TD,06.12.2026,2\nDL1ABC,JO62QM,06.12.2026,4\n"));
    QVERIFY(second.console.contains("calls_loc.dat found, read  ...  2 Call/Locator combinations\n"));
    QVERIFY(second.console.contains("VHF.DTB found, read ...  2 Calls\n"));
}

void TestEndToEnd::fullDiskKeepsEveryPreviousOutput()
{
    QTemporaryDir work;
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("archive"))));
    QVERIFY(WriteFileBytes(work.filePath(QStringLiteral("gridcol.ini")), "[directories]\narchive=archive\n"));
    QByteArray archive;
    for (int i = 0; i < 3000; ++i)
        archive += "DL" + QByteArray::number(i) + "ABC,JO62QM,01.05.2026,3\n";
    QVERIFY(WriteFileBytes(work.filePath(QStringLiteral("archive/calls_loc.dat")), archive));

    const QStringList outputs { "n1mm_qth.txt", "calls_loc.dbg", "master.scp", "calls_loc.dat", "vhf.dtb" };
    for (const QString &name : outputs)
        QVERIFY(WriteFileBytes(work.filePath(name), "previous " + name.toUtf8() + '\n'));

    // Files may grow to 16 blocks of 512 bytes: every output is larger than that.
    const RunResult result = RunGridcol(work.path(), QStringLiteral("ulimit -f 16;"));
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    for (const QString &name : outputs) {
        QCOMPARE(ReadFileBytes(work.filePath(name)), "previous " + name.toUtf8() + '\n');
        QVERIFY2(result.console.contains("Could not write " + name.toUtf8() + '\n'), qPrintable(name));
    }
    QVERIFY(result.console.endsWith("Press any key to terminate the program.\n"));
}

GRIDCOL_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
