#include "testsupport.h"

#include "app/console.h"
#include "app/driver.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

namespace {

QStringList EntryTexts()
{
    QStringList texts;
    for (const BlacklistEntry &entry : Blacklist.entries()) {
        const QString date = entry.date.isValid() ? entry.date.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                  : QStringLiteral("invalid");
        texts.append(QStringLiteral("%1 %2 %3").arg(entry.ownCall, entry.workedCall, date));
    }
    return texts;
}

const char ediWithQso[] = "PCall=DL1AAA\nPWWLo=JO62QM\nTDate=20250510;20250511\n[QSORecords;2]\n"
                          "250510;1400;DL2BBB;1;;;;;;JO51AB\n"
                          "250510;1410;DL3CCC;1;;;;;;JN58XY\n";

} // namespace

class TestBlacklist : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void parseLine_data();
    void parseLine();
    void isBlacklisted_data();
    void isBlacklisted();
    void readFile();
    void laterDirectoryOnly();
};

void TestBlacklist::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry"); // "own worked date", empty when skipped

    QTest::newRow("date") << "DL1ABC DL2XYZ 2023-05-20\n" << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("date and time") << "DL1ABC DL2XYZ 2023-05-20T18:00:00" << "DL1ABC DL2XYZ 2023-05-20 18:00";
    QTest::newRow("more words ignored") << "DL1ABC DL2XYZ 2023-05-20 bad QSO" << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("tabs and runs of blanks") << "\t DL1ABC  \tDL2XYZ   2023-05-20 \r\n"
                                             << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("calls kept as written") << "dl1abc/p dl2xyz 2023-05-20" << "dl1abc/p dl2xyz 2023-05-20 00:00";
    QTest::newRow("date that does not parse") << "DL1ABC DL2XYZ 20.05.2023" << "DL1ABC DL2XYZ invalid";
    QTest::newRow("two words") << "DL1ABC DL2XYZ" << "";
    QTest::newRow("empty") << "\n" << "";
    QTest::newRow("chat marker") << "chat> DL1ABC DL2XYZ 2023-05-20" << "";
    QTest::newRow("chat marker in any case") << "DL1ABC ChAt> 2023-05-20" << "";
    QTest::newRow("chat without marker") << "DL1ABC CHAT 2023-05-20" << "DL1ABC CHAT 2023-05-20 00:00";
}

void TestBlacklist::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    if (const std::optional<BlacklistEntry> parsed = ParseBlacklistLine(line))
        Blacklist.append(*parsed);
    QCOMPARE(EntryTexts().join(QLatin1Char('/')), entry);
}

void TestBlacklist::isBlacklisted_data()
{
    QTest::addColumn<QString>("lines"); // blacklist lines, separated by "|"
    QTest::addColumn<QString>("qso"); // "own worked date", the date as the EDI reader gives it: "yyMMdd", "-" invalid
    QTest::addColumn<bool>("blacklisted");

    const QString one = QStringLiteral("A1 B2 2023-05-20");
    const QString two = QStringLiteral("A1 B2 2023-05-20|A1 C3 2023-05-21");
    QTest::newRow("hit on a two-digit-year day") << one << "A1 B2 230520" << true;
    QTest::newRow("other own call") << one << "A9 B2 230520" << false;
    QTest::newRow("calls swapped") << one << "B2 A1 230520" << false;
    QTest::newRow("next day") << one << "A1 B2 230521" << false;
    QTest::newRow("other case") << "a1 b2 2023-05-20" << "A1 B2 230520" << false;
    QTest::newRow("time of day plays no part") << "A1 B2 2023-05-20T18:00:00" << "A1 B2 230520" << true;
    QTest::newRow("duplicates, one message") << "A1 B2 2023-05-20|A1 B2 2023-05-20T10:00:00" << "A1 B2 230520" << true;
    QTest::newRow("same pair, two days") << "A1 B2 2023-05-20|A1 B2 2023-05-22" << "A1 B2 230520" << true;
    QTest::newRow("second entry") << two << "A1 C3 230521" << true;
    QTest::newRow("a day belongs to its own pair") << two << "A1 B2 230521" << false;
    QTest::newRow("year 79 is 2079") << "A1 B2 2079-12-31" << "A1 B2 791231" << true;
    QTest::newRow("year 80 is 1980") << "A1 B2 1980-01-01" << "A1 B2 800101" << true;
    QTest::newRow("entry in 1923 is not 2023") << "A1 B2 1923-05-20" << "A1 B2 230520" << false;
    QTest::newRow("empty own call") << one << " B2 230520" << false;
    QTest::newRow("invalid entry date, valid QSO date") << "A1 B2 20.05.2023" << "A1 B2 230520" << false;
    // An invalid QSO date becomes a valid day far back after the century
    // rule; an invalid entry date stays an invalid day. They never meet.
    QTest::newRow("invalid entry date, invalid QSO date") << "A1 B2 20.05.2023" << "A1 B2 -" << false;
    QTest::newRow("valid entry, invalid QSO date") << one << "A1 B2 -" << false;
}

void TestBlacklist::isBlacklisted()
{
    QFETCH(QString, lines);
    QFETCH(QString, qso);
    QFETCH(bool, blacklisted);

    for (const QString &line : lines.split(QLatin1Char('|')))
        Blacklist.append(ParseBlacklistLine(line).value());
    const QStringList words = qso.split(QLatin1Char(' '));
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    QCOMPARE(IsBlacklisted(words.at(1), words.at(0), QDateTime::fromString(words.at(2), QStringLiteral("yyMMdd"))),
             blacklisted);
    const QByteArray message = "Skipping blacklisted QSO " + words.mid(0, 2).join(QLatin1Char(' ')).toUtf8() + '\n';
    QCOMPARE(console.text(), blacklisted ? message : QByteArray());
    QCOMPARE(log.text(), blacklisted ? message : QByteArray());
}

void TestBlacklist::readFile()
{
    QTemporaryDir dir;
    // Files that cannot be read add nothing and say nothing.
    StreamCapture console(StreamCapture::Console);
    ReadBlacklistFile(dir.filePath("missing.blacklist"));
    ReadBlacklistFile(dir.path());
    QVERIFY(Blacklist.isEmpty());
    QCOMPARE(console.text(), QByteArray());

    const QByteArray longLine = "C3 D4 2024-01-02 " + QByteArray(300, 'x') + " E5 F6 2024-01-03\n";
    QVERIFY(WriteFileBytes(dir.filePath("a.blacklist"), "A1 B2 2023-05-20\r\n# chat> A1 B2 2023-05-21\r\nA1 B2\r\n"
                               + longLine + "G7 H8 2024-01-04\nI9 J0 2024-01-05"));
    ReadBlacklistFile(dir.filePath("a.blacklist"));
    // The long line is read in pieces of 198 bytes: its first piece is an
    // entry, and so is the rest (119 x, E5, F6 as a date that does not
    // parse). The last line has no line end and is not read.
    const QStringList entries { "A1 B2 2023-05-20 00:00", "C3 D4 2024-01-02 00:00",
                                QString(119, QLatin1Char('x')) + " E5 invalid", "G7 H8 2024-01-04 00:00" };
    QCOMPARE(EntryTexts(), entries);

    // Garbage may add junk entries, but must be survived.
    QRandomGenerator random(99);
    QByteArray garbage;
    for (int i = 0; i < 100000; ++i)
        garbage.append(char(random.bounded(256)));
    QVERIFY(WriteFileBytes(dir.filePath("garbage.blacklist"), garbage));
    ReadBlacklistFile(dir.filePath("garbage.blacklist"));
    QCOMPARE(EntryTexts().mid(0, 4), entries);
}

void TestBlacklist::laterDirectoryOnly()
{
    // The same log in two directories; the blacklist lies in the second one
    // and acts on its log only, since the first directory is already done.
    QTemporaryDir root;
    QDir base(root.path());
    QVERIFY(base.mkpath("first") && base.mkpath("second") && base.mkpath("second/sub.blacklist"));
    QVERIFY(WriteFileBytes(base.filePath("first/log.edi"), ediWithQso));
    QVERIFY(WriteFileBytes(base.filePath("second/log.edi"), ediWithQso));
    QVERIFY(WriteFileBytes(base.filePath("second/bad.blacklist"),
                           "DL1AAA DL2BBB 2025-05-10\nDL1AAA DL3CCC 2025-05-11\n"));
    QSettings settings(base.filePath("gridcol.ini"), QSettings::IniFormat);

    StreamCapture console(StreamCapture::Console);
    const QString first = base.filePath("first");
    const QString second = base.filePath("second");
    ProcessSourceDirectory(settings, first);
    ProcessSourceDirectory(settings, second);

    COMPARE_TEXT(console.text(), ("Entering " + first + "\n"
                                  "KST Chat user from " + first + "/kstlist: 0 imported\n"
                                  "Processing log.edi ... 2\n"
                                  "Entering " + second + "\n"
                                  "KST Chat user from " + second + "/kstlist: 0 imported\n"
                                  "Add Blacklist bad.blacklist ... Processing log.edi ... "
                                  "Skipping blacklisted QSO DL1AAA DL2BBB\n"
                                  "1\n").toUtf8());
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 20 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 2 10.05.2025" }));
}

GRIDCOL_TEST_MAIN(TestBlacklist)
#include "tst_blacklist.moc"
