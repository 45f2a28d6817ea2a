#include "testsupport.h"

#include "adif/adifdatabase.h"
#include "app/clock.h"

#include <QBuffer>

namespace {

QByteArray Write()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return AdifStore.WriteAdifFile(buffer, 0, false, nullptr) == 0 ? bytes : QByteArray("<failed>");
}

} // namespace

class TestAdifHeader : public QObject
{
    Q_OBJECT

private slots:
    void init() { ResetProgramState(); }
    void eachWriteShowsItsOwnTime();
    void theSystemClockUnlessFixed();
};

void TestAdifHeader::eachWriteShowsItsOwnTime()
{
    // The run's "now" stays at 15.06.2026 12:00 while the store is written twice.
    Clock::setWallTime(Day("15.06.2026 12:01"));
    const QByteArray first = Write();
    Clock::setWallTime(Day("16.06.2026 09:30"));
    const QByteArray second = Write();
    QCOMPARE(first, QByteArray("ADIF File exported by Pevrax\n15-Jun-2026 12:01\n<eoh>"));
    QCOMPARE(second, QByteArray("ADIF File exported by Pevrax\n16-Jun-2026 09:30\n<eoh>"));
}

void TestAdifHeader::theSystemClockUnlessFixed()
{
    Clock::setWallTime(QDateTime());
    const QString format = QStringLiteral("dd-MMM-yyyy HH:mm");
    const QString before = QDateTime::currentDateTime().toString(format);
    const QString header = QString::fromUtf8(Write()).section(QLatin1Char('\n'), 1, 1);
    const QString after = QDateTime::currentDateTime().toString(format);
    QVERIFY2(header == before || header == after, qPrintable(header + QStringLiteral(" at ") + before));
}

GRIDCOL_TEST_MAIN(TestAdifHeader)
#include "tst_adifheader.moc"
