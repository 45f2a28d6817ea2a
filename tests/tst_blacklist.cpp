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

QString EntryText(const BlacklistEntry &entry)
{
    const QString date = entry.date.isValid() ? entry.date.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                              : QStringLiteral("invalid");
    return QStringLiteral("%1 %2 %3").arg(entry.ownCall, entry.workedCall, date);
}

void AddLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const std::optional<BlacklistEntry> entry = ParseBlacklistLine(line);
        QVERIFY2(entry, qPrintable(line));
        Blacklist.append(*entry);
    }
}

/// A QSO date as the EDI reader gives it: "yyMMdd", or invalid for "-".
QDateTime QsoDate(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("yyMMdd"));
}

/// The blacklist test as a walk over the whole list, the way the entries are
/// defined to match: exact calls, the same calendar day after the century rule.
bool WalkMatches(const QString &workedCall, const QString &ownCall, const QDateTime &date)
{
    static const QDateTime reference(QDate(1980, 1, 1), QTime(0, 0));
    const QDate day = (date < reference ? date.addYears(100) : date).date();
    for (const BlacklistEntry &entry : Blacklist.entries()) {
        if (entry.ownCall == ownCall && entry.workedCall == workedCall && entry.date.date() == day)
            return true;
    }
    return false;
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
    void indexAnswersAsTheWalk();
    void readFile();
    void unreadableFile();
    void laterDirectoryOnly();
};

void TestBlacklist::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry");

    QTest::newRow("date") << "DL1ABC DL2XYZ 2023-05-20\n" << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("date and time") << "DL1ABC DL2XYZ 2023-05-20T18:00:00" << "DL1ABC DL2XYZ 2023-05-20 18:00";
    QTest::newRow("more words ignored") << "DL1ABC DL2XYZ 2023-05-20 bad QSO" << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("tabs and runs of blanks") << "\t DL1ABC  \tDL2XYZ   2023-05-20 \r\n"
                                             << "DL1ABC DL2XYZ 2023-05-20 00:00";
    QTest::newRow("calls kept as written") << "dl1abc/p dl2xyz 2023-05-20" << "dl1abc/p dl2xyz 2023-05-20 00:00";
    QTest::newRow("date that does not parse") << "DL1ABC DL2XYZ 20.05.2023" << "DL1ABC DL2XYZ invalid";
    QTest::newRow("date without century") << "DL1ABC DL2XYZ 230520" << "DL1ABC DL2XYZ invalid";
    QTest::newRow("two words") << "DL1ABC DL2XYZ" << "";
    QTest::newRow("empty") << "\n" << "";
    QTest::newRow("chat marker") << "chat> DL1ABC DL2XYZ 2023-05-20" << "";
    QTest::newRow("chat marker in capitals inside") << "DL1ABC DL2XYZ 2023-05-20 (CHAT>)" << "";
    QTest::newRow("chat marker mixed case") << "DL1ABC ChAt> 2023-05-20" << "";
    QTest::newRow("chat without marker") << "DL1ABC CHAT 2023-05-20" << "DL1ABC CHAT 2023-05-20 00:00";
}

void TestBlacklist::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    const std::optional<BlacklistEntry> parsed = ParseBlacklistLine(line);
    QCOMPARE(parsed ? EntryText(*parsed) : QString(), entry);
}

void TestBlacklist::isBlacklisted_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("worked");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("qsoDate");
    QTest::addColumn<bool>("blacklisted");

    const QStringList one { "A1 B2 2023-05-20" };
    QTest::newRow("hit on a two-digit-year day") << one << "B2" << "A1" << "230520" << true;
    QTest::newRow("other own call") << one << "B2" << "A9" << "230520" << false;
    QTest::newRow("calls swapped") << one << "A1" << "B2" << "230520" << false;
    QTest::newRow("next day") << one << "B2" << "A1" << "230521" << false;
    QTest::newRow("other case") << QStringList { "a1 b2 2023-05-20" } << "B2" << "A1" << "230520" << false;
    QTest::newRow("time of day plays no part")
        << QStringList { "A1 B2 2023-05-20T18:00:00" } << "B2" << "A1" << "230520" << true;
    QTest::newRow("duplicates") << QStringList { "A1 B2 2023-05-20", "A1 B2 2023-05-20T10:00:00" } << "B2"
                                << "A1" << "230520" << true;
    QTest::newRow("second entry") << QStringList { "A1 B2 2023-05-20", "A1 C3 2023-05-21" } << "C3" << "A1"
                                  << "230521" << true;
    QTest::newRow("year 95 is 1995") << QStringList { "A1 B2 1995-06-11" } << "B2" << "A1" << "950611" << true;
    QTest::newRow("entry in 1923 is not 2023")
        << QStringList { "A1 B2 1923-05-20" } << "B2" << "A1" << "230520" << false;
    QTest::newRow("empty own call") << one << "B2" << "" << "230520" << false;
    QTest::newRow("invalid entry date, valid QSO date")
        << QStringList { "A1 B2 20.05.2023" } << "B2" << "A1" << "230520" << false;
    // An invalid QSO date becomes a valid day far back after the century
    // rule; an invalid entry date stays an invalid day. They never meet.
    QTest::newRow("invalid entry date, invalid QSO date")
        << QStringList { "A1 B2 20.05.2023" } << "B2" << "A1" << "-" << false;
    QTest::newRow("valid entry, invalid QSO date") << one << "B2" << "A1" << "-" << false;
}

void TestBlacklist::isBlacklisted()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, worked);
    QFETCH(QString, own);
    QFETCH(QString, qsoDate);
    QFETCH(bool, blacklisted);

    AddLines(lines);
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    QCOMPARE(IsBlacklisted(worked, own, QsoDate(qsoDate)), blacklisted);
    const QByteArray message
        = blacklisted ? "Skipping blacklisted QSO " + own.toUtf8() + ' ' + worked.toUtf8() + '\n' : QByteArray();
    QCOMPARE(console.text(), message);
    QCOMPARE(log.text(), message);
}

void TestBlacklist::indexAnswersAsTheWalk()
{
    // Entries and questions drawn from small sets, so that hits are common;
    // dates around the century rule and invalid ones included.
    const QStringList calls { "A1", "a1", "B2", "C3", "" };
    const QStringList entryDates { "2023-05-20", "2023-05-20T23:59:59", "2023-05-21", "1979-12-31",
                                   "2079-12-31", "1980-01-01", "20.05.2023", "-4714-11-24" };
    const QStringList qsoDates { "230520", "230521", "791231", "800101", "000229", "-", "991231" };
    QRandomGenerator random(1234);
    auto pick = [&random](const QStringList &list) { return list.at(random.bounded(list.size())); };

    for (int i = 0; i < 40; ++i) {
        const QString own = pick(calls);
        const QString worked = pick(calls);
        if (own.isEmpty() || worked.isEmpty())
            continue;
        Blacklist.append(BlacklistEntry { worked, own, QDateTime::fromString(pick(entryDates), Qt::ISODate) });
    }
    QVERIFY(Blacklist.size() > 20);

    StreamCapture console(StreamCapture::Console);
    int hits = 0;
    for (int i = 0; i < 2000; ++i) {
        const QString worked = pick(calls);
        const QString own = pick(calls);
        const QDateTime date = QsoDate(pick(qsoDates));
        const bool expected = WalkMatches(worked, own, date);
        QCOMPARE(IsBlacklisted(worked, own, date), expected);
        hits += expected ? 1 : 0;
    }
    QVERIFY(hits > 50);
    QCOMPARE(console.text().count('\n'), hits);
}

void TestBlacklist::readFile()
{
    QTemporaryDir dir;
    const QByteArray longLine = "C3 D4 2024-01-02 " + QByteArray(300, 'x') + " E5 F6 2024-01-03\n";
    QVERIFY(WriteFileBytes(dir.filePath("a.blacklist"), "A1 B2 2023-05-20\r\n"
                                                        "# chat> A1 B2 2023-05-21\r\n"
                                                        "A1 B2\r\n"
                                                        + longLine
                                                        + "G7 H8 2024-01-04\n"
                                                          "I9 J0 2024-01-05"));
    ReadBlacklistFile(dir.filePath("a.blacklist"));
    QStringList entries;
    for (const BlacklistEntry &entry : Blacklist.entries())
        entries.append(EntryText(entry));
    // The long line is read in pieces of 198 bytes: its first piece is an
    // entry, and so is the rest (119 x, E5, F6 as a date that does not
    // parse). The last line has no line end and is not read.
    QCOMPARE(entries, QStringList({ "A1 B2 2023-05-20 00:00", "C3 D4 2024-01-02 00:00",
                                    QString(119, QLatin1Char('x')) + " E5 invalid", "G7 H8 2024-01-04 00:00" }));
}

void TestBlacklist::unreadableFile()
{
    QTemporaryDir dir;
    ReadBlacklistFile(dir.filePath("missing.blacklist"));
    ReadBlacklistFile(dir.path());
    QRandomGenerator random(99);
    QByteArray garbage;
    for (int i = 0; i < 100000; ++i)
        garbage.append(char(random.bounded(256)));
    QVERIFY(WriteFileBytes(dir.filePath("garbage.blacklist"), garbage));
    ReadBlacklistFile(dir.filePath("garbage.blacklist"));
    // Garbage may name junk QSOs, but not the one a real log holds.
    QVERIFY(!IsBlacklisted(QStringLiteral("DL2BBB"), QStringLiteral("DL1AAA"), QsoDate("250510")));
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
    QVERIFY(WriteFileBytes(base.filePath("second/bad.blacklist"), "DL1AAA DL2BBB 2025-05-10\n"
                                                                  "DL1AAA DL3CCC 2025-05-11\n"));
    QSettings settings(base.filePath("gridcol.ini"), QSettings::IniFormat);

    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
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
    QVERIFY(log.text().contains("Add blacklist bad.blacklist \nProcess log.edi \n"));
    QVERIFY(log.text().contains("Skipping blacklisted QSO DL1AAA DL2BBB\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1AAA JO62QM 20 10.05.2025", "DL2BBB JO51AB 1 10.05.2025",
                                           "DL3CCC JN58XY 2 10.05.2025" }));
}

GRIDCOL_TEST_MAIN(TestBlacklist)
#include "tst_blacklist.moc"
