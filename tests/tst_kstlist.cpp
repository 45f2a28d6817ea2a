#include "testsupport.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "readers/kstlist.h"

#include <QTemporaryDir>

class TestKstList : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }

    void parseLine_data();
    void parseLine();
    void importFile();
};

void TestKstList::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("user"); // "call locator", empty when skipped

    QTest::newRow("more words") << "DL1ABC JO62QM Peter 144 MHz\n" << "DL1ABC JO62QM";
    QTest::newRow("call in parentheses") << "(DL1ABC) JO62QM Peter" << "DL1ABC JO62QM";
    QTest::newRow("parentheses inside the call") << "D(L1A)BC) JO62QM Peter" << "DL1ABC JO62QM";
    QTest::newRow("only parentheses") << "() JO62QM Peter" << "";
    QTest::newRow("parentheses in the locator stay") << "DL1ABC (JO62QM) Peter" << "DL1ABC (JO62QM)";
    QTest::newRow("locator taken as it is") << "dl1abc jo62 Peter" << "dl1abc jo62";
    QTest::newRow("two words") << "DL1ABC JO62QM" << "";
    QTest::newRow("empty") << "\r\n" << "";
    QTest::newRow("tabs and runs of blanks") << "\t DL1ABC\t\tJO62QM   Peter \r\n" << "DL1ABC JO62QM";
    QTest::newRow("chat marker") << "chat> DL1ABC JO62QM Peter" << "";
    QTest::newRow("chat marker in any case, glued") << "DL1ABC JO62QM xChAt>y" << "";
    QTest::newRow("chat without marker") << "DL1ABC JO62QM chat" << "DL1ABC JO62QM";
}

void TestKstList::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, user);
    const std::optional<KstUser> parsed = ParseKstLine(line);
    QCOMPARE(parsed ? parsed->call + QLatin1Char(' ') + parsed->locator : QString(), user);
}

void TestKstList::importFile()
{
    QTemporaryDir dir;
    const QByteArray longLine = "DL3CCC JO40AA " + QByteArray(184, 'n') + " DL4DDD JO30BB Name\n";
    QVERIFY(WriteFileBytes(dir.filePath("kstlist"), "(DL1ABC) JO62QM Peter\r\nChat> DL9XXX JO00AA hello all\r\n"
                                                    "dl2bbb  jo51ab\tPaul\r\ndl1abc jo62qm again\n"
                               + longLine + "DL5EEE JO20CC unfinished"));
    StreamCapture console(StreamCapture::Console);
    StreamCapture log(StreamCapture::Log);
    // The long line arrives in two pieces of its own, one user each; the
    // last line has no line end and is not read.
    QCOMPARE(ImportKstList(dir.filePath("kstlist")), 5);
    QCOMPARE(console.text(), QByteArray());
    QCOMPARE(log.text(), QByteArray("DL1ABC JO62QM 15.06.2026\nDL2BBB JO51AB 15.06.2026\n"
                                    "DL1ABC JO62QM 15.06.2026\nDL3CCC JO40AA 15.06.2026\n"
                                    "DL4DDD JO30BB 15.06.2026\n"));
    QCOMPARE(DumpDatabase(), QStringList({ "DL1ABC JO62QM 20 15.06.2026", "DL2BBB JO51AB 10 15.06.2026",
                                           "DL3CCC JO40AA 10 15.06.2026", "DL4DDD JO30BB 10 15.06.2026" }));
    QCOMPARE(CallDatabase.at(0).locators.at(0).date, TestNow());

    // Files that cannot be read give no users; binary garbage is survived.
    QCOMPARE(ImportKstList(dir.filePath("missing")), 0);
    QCOMPARE(ImportKstList(dir.path()), 0);
    static const char binary[] = "\0\xff\xfe (A) B C\n\x80\x81 \x82 \x83\n";
    QVERIFY(WriteFileBytes(dir.filePath("binary"), QByteArray(binary, sizeof binary - 1)));
    // The first line ends at its zero byte; the second is three words of
    // replacement characters, which are handed on like any other user.
    QCOMPARE(ImportKstList(dir.filePath("binary")), 1);
}

GRIDCOL_TEST_MAIN(TestKstList)
#include "tst_kstlist.moc"
