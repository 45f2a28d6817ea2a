#include "testsupport.h"

#include "app/clock.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/ordering.h"

#include <limits>


class TestCallDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void addCallLocator_data();
    void addCallLocator();
    void logLines_data();
    void logLines();
    void ageLimitFollowsTheClock();
    void findCallAndLocator();
    void indexSurvivesSorting();
    void weightsSaturate();
    void manyCallsKeepFirstAddedOrder();
};

void TestCallDatabase::addCallLocator_data()
{
    QTest::addColumn<QStringList>("adds");
    QTest::addColumn<QStringList>("dump");

    // Now is 15.06.2026 12:00, so the age limit is 15.06.2022 12:00.
    QTest::newRow("case and blanks of one call")
        << QStringList { "dl1abc|jo62qm|1|01.05.2026", " DL1ABC |JO62QM|1|01.05.2026",
                         "Dl1AbC|Jo62Qm|1|01.05.2026" }
        << QStringList { "DL1ABC JO62QM 3 01.05.2026" };
    QTest::newRow("inner blanks collapse but still separate calls")
        << QStringList { "DL1  ABC|JO62QM|1|01.05.2026", "DL1ABC|JO62QM|1|01.05.2026",
                         "DL1 ABC|jo62 \t qm|2|01.05.2026" }
        << QStringList { "DL1 ABC JO62QM 1 01.05.2026", "DL1 ABC JO62 QM 2 01.05.2026",
                         "DL1ABC JO62QM 1 01.05.2026" };
    QTest::newRow("tabs, line ends and letters beyond ASCII")
        << QStringList { "\tDL1\tABC\n|JO62QM\r|1|01.05.2026", "DL1 ABC|JO62QM|1|01.05.2026",
                         QString::fromUtf8("dl1\xc3\xa4x|jo62qm|1|01.05.2026"),
                         QString::fromUtf8("DL1\xc3\x84X|JO62QM|2|01.05.2026") }
        << QStringList { "DL1 ABC JO62QM 2 01.05.2026", QString::fromUtf8("DL1\xc3\x84X JO62QM 3 01.05.2026") };
    QTest::newRow("century repair before 1980")
        << QStringList { "A1|AA00|1|31.12.1979", "A2|AA00|1|01.01.1923" }
        << QStringList { "A1 AA00 1 31.12.2079", "A2 AA00 1 01.01.2023" };
    QTest::newRow("1980 stays and is too old")
        << QStringList { "A1|AA00|1|01.01.1980", "A2|AA00|1|01.01.1995" } << QStringList {};
    QTest::newRow("five years ago is too old")
        << QStringList { "A1|AA00|1|15.06.2021" } << QStringList {};
    QTest::newRow("exactly the limit is kept, a minute before is not")
        << QStringList { "A1|AA00|1|15.06.2022 12:00", "A2|AA00|1|15.06.2022 11:59" }
        << QStringList { "A1 AA00 1 15.06.2022" };
    QTest::newRow("merge adds weights and keeps the later date, newer first")
        << QStringList { "A1|AA00|10|10.05.2026", "A1|AA00|1|01.05.2026" }
        << QStringList { "A1 AA00 11 10.05.2026" };
    QTest::newRow("merge adds weights and keeps the later date, older first")
        << QStringList { "A1|AA00|1|01.05.2026", "A1|AA00|10|10.05.2026" }
        << QStringList { "A1 AA00 11 10.05.2026" };
    QTest::newRow("two locators keep first-added order")
        << QStringList { "A1|ZZ99|1|01.05.2026", "A1|AA00|5|01.05.2026", "A1|ZZ99|1|02.05.2026" }
        << QStringList { "A1 ZZ99 2 02.05.2026", "A1 AA00 5 01.05.2026" };
    QTest::newRow("calls keep first-added order")
        << QStringList { "AB2|AA00|1|01.05.2026", "AA1|AA00|1|01.05.2026", "AB10|AA00|1|01.05.2026",
                         "AA1|BB00|1|01.05.2026" }
        << QStringList { "AB2 AA00 1 01.05.2026", "AA1 AA00 1 01.05.2026", "AA1 BB00 1 01.05.2026",
                         "AB10 AA00 1 01.05.2026" };
    QTest::newRow("empty strings and odd weights are stored")
        << QStringList { "|AA00|0|01.05.2026", "A1||-3|01.05.2026" }
        << QStringList { " AA00 0 01.05.2026", "A1  -3 01.05.2026" };
    QTest::newRow("an invalid date is dropped as too old") << QStringList { "A1|AA00|1|-" } << QStringList {};
}

void TestCallDatabase::addCallLocator()
{
    QFETCH(QStringList, adds);
    QFETCH(QStringList, dump);
    AddRecords(adds);
    QCOMPARE(DumpDatabase(), dump);
}

void TestCallDatabase::logLines_data()
{
    QTest::addColumn<QStringList>("adds");
    QTest::addColumn<QByteArray>("log");

    QTest::newRow("kept") << QStringList { "dl1abc|jo62qm|1|01.05.2026" }
                          << QByteArray("DL1ABC JO62QM 01.05.2026\n");
    QTest::newRow("too old, after the century repair")
        << QStringList { "a1|aa00|1|01.01.1985", "a2|aa00|1|31.12.1979" }
        << QByteArray("A1 AA00 01.01.1985\nQSO too old\nA2 AA00 31.12.2079\n");
    // Qt moves an invalid date-time by 100 years onto a valid day far back in the past.
    QTest::newRow("invalid date")
        << QStringList { "a1|aa00|1|-" } << QByteArray("A1 AA00 24.11.-4714\nQSO too old\n");
}

void TestCallDatabase::logLines()
{
    QFETCH(QStringList, adds);
    QFETCH(QByteArray, log);
    StreamCapture capture(StreamCapture::Log);
    AddRecords(adds);
    QCOMPARE(capture.text(), log);
}

void TestCallDatabase::ageLimitFollowsTheClock()
{
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("AA00"), Day("01.01.2023"), 1);
    Clock::setNow(Day("02.01.2027"));
    AddCallLocator(QStringLiteral("A2"), QStringLiteral("AA00"), Day("01.01.2023"), 1);
    QCOMPARE(AgeLimit(), Day("02.01.2023"));
    QCOMPARE(DumpDatabase(), QStringList { "A1 AA00 1 01.01.2023" });
}

void TestCallDatabase::findCallAndLocator()
{
    QCOMPARE(FindCall(QStringLiteral("A1")), -1);
    AddCallLocator(QStringLiteral("a1"), QStringLiteral("aa00"), Day("01.05.2026"), 1);
    AddCallLocator(QStringLiteral("b2"), QStringLiteral("bb00"), Day("01.05.2026"), 1);
    AddCallLocator(QStringLiteral("b2"), QStringLiteral("cc00"), Day("01.05.2026"), 1);
    QCOMPARE(FindCall(QStringLiteral("B2")), 1);
    QCOMPARE(FindCall(QStringLiteral("b2")), -1); // exact comparison
    QCOMPARE(FindLocator(CallDatabase.at(1), QStringLiteral("CC00")), 1);
    QCOMPARE(FindLocator(CallDatabase.at(1), QStringLiteral("cc00")), -1);
}

void TestCallDatabase::indexSurvivesSorting()
{
    for (const char *call : { "C3", "A1", "B2" })
        AddCallLocator(QString::fromLatin1(call), QStringLiteral("AA00"), Day("01.05.2026"), 1);
    CallDatabase.sortByCall();
    QCOMPARE(FindCall(QStringLiteral("A1")), 0);
    QCOMPARE(FindCall(QStringLiteral("C3")), 2);
    AddCallLocator(QStringLiteral("C3"), QStringLiteral("AA00"), Day("01.05.2026"), 4);
    AddCallLocator(QStringLiteral("A0"), QStringLiteral("AA00"), Day("01.05.2026"), 1);
    QCOMPARE(DumpDatabase(),
             QStringList({ "A1 AA00 1 01.05.2026", "B2 AA00 1 01.05.2026", "C3 AA00 5 01.05.2026",
                           "A0 AA00 1 01.05.2026" }));
}

void TestCallDatabase::weightsSaturate()
{
    const int max = std::numeric_limits<int>::max();
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("AA00"), Day("01.05.2026"), max - 1);
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("AA00"), Day("01.05.2026"), 5);
    AddCallLocator(QStringLiteral("A1"), QStringLiteral("AA00"), Day("01.05.2026"), 5);
    QCOMPARE(CallDatabase.at(0).locators.at(0).weight, max);
}

void TestCallDatabase::manyCallsKeepFirstAddedOrder()
{
    // Enough calls that a fault in the index would show as a misplaced merge.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5000; ++i)
            AddCallLocator(QStringLiteral("C%1").arg(i), QStringLiteral("AA00"), Day("01.05.2026"), 1);
    }
    QCOMPARE(CallDatabase.size(), 5000);
    for (int i = 0; i < 5000; i += 499) {
        QCOMPARE(CallDatabase.at(i).call, QStringLiteral("C%1").arg(i));
        QCOMPARE(CallDatabase.at(i).locators.at(0).weight, 2);
        QCOMPARE(FindCall(QStringLiteral("C%1").arg(i)), i);
    }
}

GRIDCOL_TEST_MAIN(TestCallDatabase)
#include "tst_calldatabase.moc"
