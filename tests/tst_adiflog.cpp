// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "adifsupport.h"
#include "testsupport.h"

#include "base/console.h"
#include "database/calldatabase.h"
#include "readers/adiflog.h"
#include "readers/sourcefiles.h"
#include "writers/callslocfile.h"
#include "writers/outputlayout.h"

#include <QLocale>
#include <QTemporaryDir>

#include <cstring>

/*
 * The ADIF log import: the frequency of a contact, and logs read ahead or
 * beside their import giving exactly what reading them one by one gives.
 */

namespace {

/// Console, log, database and store after importing the logs of the
/// directories with the given catalogue: one log after another with
/// ImportAdifFile(), or directory by directory as a run imports them. The
/// debug log is written only with withLog.
QStringList ImportedState(const QStringList &directories, const QString &catalogue, bool oneByOne, bool withLog = true)
{
    ResetProgramState();
    AdifStore.LoadFieldCatalogue(0, catalogue);
    std::FILE *console = std::tmpfile();
    std::FILE *log = std::tmpfile();
    SetConsoleFile(console);
    DebugLog = withLog ? log : nullptr;
    if (oneByOne) {
        for (const QString &directory : directories) {
            for (const SourceFile &file : ListSourceFiles(directory, QStringLiteral("*.adi")))
                ImportAdifFile(file);
        }
    } else {
        AdifLogImports imports(directories);
        for (int i = 0; i < directories.size(); ++i) {
            imports.enter(i);
            imports.import();
        }
    }
    QStringList result { State(AdifStore), QString::fromUtf8(BuildCallsLocDat(OutputLayout(CallDatabase))) };
    result << QString::fromUtf8(TakeFileText(console)) << QString::fromUtf8(TakeFileText(log));
    ResetProgramState();
    return result;
}

/// The directory lists whose import must give what importing the logs of
/// folder one by one gave: folder alone, whose logs are read in their turn,
/// and folder after a directory without logs, which has its first log read
/// from the start of the run.
void CompareImports(const QStringList &oneByOne, const QString &folder, const QString &catalogue, bool withLog = true)
{
    QTemporaryDir empty;
    QCOMPARE(ImportedState({ folder }, catalogue, false, withLog), oneByOne);
    QCOMPARE(ImportedState({ empty.path(), folder }, catalogue, false, withLog), oneByOne);
}

const QString mixedCatalogue = QStringLiteral(GRIDCOL_TEST_DATA "/adif/catalogues/mixed.txt");

} // namespace

class TestAdifLog : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void contactFrequency()
    {
        // Every text reads as the C locale's full conversion reads it, bit for
        // bit; nothing, a zero and no number at all fall back on the band.
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        QStringList texts { "144.300", "1296", "0144.3000", "0.1", "0.3", "144.", ".5", "1.2.3", "144,300", "1,296.2",
                            " 144.3", "144.3 ", "+144", "-144", "1e3", "nan", "inf", "0x90", "0", "0.000", "",
                            "999999999999999", "9999999999999999", "12345678901234.5", "1234567890123.45",
                            "0.000000000000001", "144.30000000000001",
                            // Sixteen digits: dividing their rounded whole number rounds twice.
                            "91399620.84340797", "944608837.2433843", "986.5452293525111", QString::fromUtf8("１４４") };
        // Plain decimals of every length and point position, as a log may hold them.
        quint32 seed = 12345;
        for (int i = 0; i < 20000; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int length = 1 + int(seed >> 16) % 17;
            QString text;
            for (int k = 0; k < length; ++k) {
                seed = seed * 1103515245u + 12345u;
                text += QChar('0' + int(seed >> 16) % 10);
            }
            seed = seed * 1103515245u + 12345u;
            const int point = int(seed >> 16) % (length + 2);
            if (point > 0 && point < length)
                text.insert(point, '.');
            texts << text;
        }
        for (const QString &text : qAsConst(texts)) {
            double expected = c.toDouble(text);
            if (qIsNaN(expected))
                expected = 0.0;
            const double band = expected == 0.0 ? 432.0 : expected;
            const double got = ContactFrequency(text, u"70cm");
            if (memcmp(&got, &band, sizeof got) != 0)
                QFAIL(qPrintable(
                    QStringLiteral("%1 reads as %2, not %3").arg(text).arg(got, 0, 'g', 17).arg(band, 0, 'g', 17)));
        }
        QCOMPARE(ContactFrequency(u"", u"23CM"), 1296.0);
        QCOMPARE(ContactFrequency(u"abc", u"9cm"), 3400.0);
        QCOMPARE(ContactFrequency(u"0", u"20m"), 0.0);
    }

    void directoryImport()
    {
        // A directory of logs imported with each log read ahead on a second
        // thread, the first from the start of the run or only in its turn,
        // leaves console, log, database and store exactly as importing the logs
        // one by one does.
        const QStringList oneByOne = ImportedState({ logFolder }, mixedCatalogue, true);
        QVERIFY(oneByOne.at(2).count(QStringLiteral("Verarbeite")) >= 10);
        CompareImports(oneByOne, logFolder, mixedCatalogue);
    }

    void importBesideReading_data() { AddRows("adiflog/importBesideReading.tsv"); }

    void importBesideReading()
    {
        // A lone log is imported while it is read, in blocks; the result is that
        // of reading it first and importing it after, log lines and their order
        // included. Several blocks, records below 2 m, records without locator
        // and a last block cut short.
        QFETCH(QString, catalogue);
        QFETCH(bool, withLog);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QByteArray text = "generated log <eoh>\n";
        for (int i = 0; i < 5000; ++i) {
            const QByteArray call = "DL" + QByteArray::number(i % 1700) + "X";
            const QByteArray locator = i % 97 == 0 ? QByteArray() : "JO" + QByteArray::number(10 + i % 80) + "AB";
            const QByteArray date = QDate(2026, 1, 1).addDays(-(i % 700)).toString("yyyyMMdd").toLatin1();
            const QByteArray freq = i % 5 == 0 ? "14.074" : (i % 7 == 0 ? "" : "144.3");
            text += "<CALL:" + QByteArray::number(call.size()) + ">" + call
                + " <GRIDSQUARE:" + QByteArray::number(locator.size()) + ">" + locator + " <QSO_DATE:8>" + date
                + " <FREQ:" + QByteArray::number(freq.size()) + ">" + freq
                + (i % 3 == 0 ? " <BAND:4>70cm" : " <BAND:2>2m") + " <EOR>\n";
        }
        QVERIFY(WriteFileBytes(folder.filePath(QStringLiteral("big.adi")), text));
        const QString cataloguePath = folder.filePath(QStringLiteral("catalogue.txt"));
        QVERIFY(WriteFileBytes(cataloguePath, catalogue.toUtf8()));

        const QStringList oneByOne = ImportedState({ folder.path() }, cataloguePath, true, withLog);
        QVERIFY(oneByOne.at(2).contains(QStringLiteral("3959 of 5000")));
        if (withLog)
            QVERIFY(oneByOne.at(3).contains(QStringLiteral("Adif failed")));
        CompareImports(oneByOne, folder.path(), cataloguePath, withLog);
    }
};

GRIDCOL_TEST_MAIN(TestAdifLog)
#include "tst_adiflog.moc"
