// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

/*
 * Golden working-directory cases: every folder of tests/cases is a working
 * directory run through the real gridcol binary and compared with what it
 * expects; tests/cases/README.md describes the files of a case. With
 * GRIDCOL_CASE_OUTPUT set, what a run produced is also copied there, one
 * folder per case, for tools/update-cases.sh to show and take over.
 */

namespace {

const QString casesFolder = QStringLiteral(GRIDCOL_SOURCE_DIR "/tests/cases");
const QStringList caseFiles { "now",     "from",      "runs",          "file-size-limit",
                              "only-on", "README.md", "expected",      "expected-" + QSysInfo::kernelType(),
                              "expected-linux", "expected-winnt", "args", "status" };
const QStringList producedNames { "gridcol.dbg", "n1mm_qth.txt", "calls_loc.dbg", "master.scp", "calls_loc.dat",
                                  "vhf.dtb" };

QString CaseText(const QString &folder, const char *name)
{
    return QString::fromUtf8(ReadFileBytes(folder + QLatin1Char('/') + QLatin1String(name), QByteArray())).trimmed();
}

/// The expected bytes of a file: the case's own for this system where it has
/// them, as that system writes them; else the common file, a text file with
/// this system's line ends.
QByteArray Expected(const QString &folder, const QString &name, const QByteArray &ifMissing = "<cannot read>")
{
    const QString own = folder + QStringLiteral("/expected-") + QSysInfo::kernelType() + QLatin1Char('/') + name;
    if (QFileInfo::exists(own))
        return ReadFileBytes(own);
    QByteArray text = ReadFileBytes(folder + QStringLiteral("/expected/") + name, ifMissing);
    if (!name.endsWith(QLatin1String(".dtb")))
        text.replace("\n", TextLineEnd());
    return text;
}

/// A report of gridcol --check --json against the expected one, as parsed
/// documents; and every QSO of it has the fields other programs read, in
/// their forms.
void CompareJsonReport(const QByteArray &produced, const QByteArray &wanted)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(produced, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonDocument expected = QJsonDocument::fromJson(wanted, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QCOMPARE(document, expected);

    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression time(QStringLiteral("^\\d{2}:\\d{2}$"));
    const QStringList verdicts { "OK", "NEW-CALL", "NEW-LOC", "SUSPECT-LOC", "SUSPECT-CALL", "BAD-LOC" };
    QVERIFY(document.object().value(QLatin1String("summary")).isObject());
    for (const QJsonValue &log : document.object().value(QLatin1String("logs")).toArray()) {
        for (const char *key : { "file", "call", "locator" })
            QVERIFY2(log.toObject().value(QLatin1String(key)).isString(), key);
        for (const QJsonValue &qso : log.toObject().value(QLatin1String("qsos")).toArray()) {
            const QJsonObject object = qso.toObject();
            QVERIFY(object.value(QLatin1String("date")).isNull()
                    || date.match(object.value(QLatin1String("date")).toString()).hasMatch());
            QVERIFY(object.value(QLatin1String("time")).isNull()
                    || time.match(object.value(QLatin1String("time")).toString()).hasMatch());
            QVERIFY(object.value(QLatin1String("call")).isString());
            QVERIFY(object.value(QLatin1String("locator")).isString());
            QVERIFY(object.value(QLatin1String("qrb")).isNull() || object.value(QLatin1String("qrb")).isDouble());
            QVERIFY(verdicts.contains(object.value(QLatin1String("verdict")).toString()));
            QVERIFY(object.value(QLatin1String("evidence")).isString());
        }
    }
}

} // namespace

class TestCases : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("folder");
        for (const QString &name : QDir(casesFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QTest::newRow(qPrintable(name)) << casesFolder + QLatin1Char('/') + name;
    }

    void run()
    {
        QFETCH(QString, folder);
        const QString system = CaseText(folder, "only-on");
        if (!system.isEmpty() && system != QSysInfo::kernelType())
            QSKIP("the case is for another system");
        QTemporaryDir work;
        for (const QString &path : CaseText(folder, "from").split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QFileInfo source(QStringLiteral(GRIDCOL_SOURCE_DIR "/") + path);
            QVERIFY2(source.isDir() ? CopyTree(source.filePath(), work.path())
                                    : QFile::copy(source.filePath(), work.filePath(source.fileName())),
                     qPrintable(path));
        }
        QVERIFY(CopyTree(folder, work.path(), caseFiles));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GRIDCOL_NOW"), CaseText(folder, "now"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work.path());
        process.setStandardInputFile(QProcess::nullDevice());
        QString program = QStringLiteral(GRIDCOL_BINARY);
        QStringList arguments = CaseText(folder, "args").split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString fileSizeLimit = CaseText(folder, "file-size-limit");
        if (!fileSizeLimit.isEmpty()) {
            arguments
                = QStringList { "-c", "ulimit -f " + fileSizeLimit + "; exec \"$0\" \"$@\"", program } + arguments;
            program = QStringLiteral("/bin/sh");
        }
        const int runs = qMax(1, CaseText(folder, "runs").toInt());
        for (int run = 0; run < runs; ++run) {
            process.start(program, arguments);
            QVERIFY2(process.waitForFinished(120000), "gridcol did not finish within two minutes");
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), CaseText(folder, "status").toInt());
        }
        const QByteArray console = process.readAllStandardOutput();
        const QByteArray errors = process.readAllStandardError();

        const QString output = qEnvironmentVariable("GRIDCOL_CASE_OUTPUT");
        if (!output.isEmpty()) {
            const QString target = output + QLatin1Char('/') + QFileInfo(folder).fileName();
            QVERIFY(QDir().mkpath(target));
            WriteFileBytes(target + QStringLiteral("/console.txt"), console);
            if (!errors.isEmpty())
                WriteFileBytes(target + QStringLiteral("/stderr.txt"), errors);
            // The outputs, the files the case expects, and maps of any name.
            const QStringList expectedNames = QDir(folder + QStringLiteral("/expected")).entryList(QDir::Files);
            const QStringList maps = QDir(work.path()).entryList({ QStringLiteral("*.html") }, QDir::Files);
            QStringList names = producedNames + expectedNames + maps;
            names.removeDuplicates();
            for (const QString &name : qAsConst(names)) {
                if (QFileInfo(work.filePath(name)).isFile())
                    QFile::copy(work.filePath(name), target + QLatin1Char('/') + name);
            }
        }

        const QString expected = folder + QStringLiteral("/expected/");
        if (arguments.contains(QLatin1String("--json")))
            CompareJsonReport(console, Expected(folder, QStringLiteral("console.txt")));
        else
            COMPARE_TEXT(console, Expected(folder, QStringLiteral("console.txt")));
        COMPARE_TEXT(errors, Expected(folder, QStringLiteral("stderr.txt"), QByteArray()));
        const QStringList absent = CaseText(expected, "absent").split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &name : absent)
            QVERIFY2(!QFileInfo(work.filePath(name)).isFile(), qPrintable(name + QStringLiteral(" exists")));
        for (const QString &name : QDir(expected).entryList(QDir::Files)) {
            if (name == QLatin1String("console.txt") || name == QLatin1String("stderr.txt")
                || name == QLatin1String("absent"))
                continue;
            const QByteArray wanted = Expected(folder, name);
            const QByteArray produced = ReadFileBytes(work.filePath(name));
            if (name.endsWith(QLatin1String(".dtb")))
                QCOMPARE(produced.toHex(' '), wanted.toHex(' '));
            else
                COMPARE_TEXT(produced, wanted);
        }
    }
};

GRIDCOL_TEST_MAIN(TestCases)
#include "tst_cases.moc"
