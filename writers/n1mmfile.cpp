#include "writers/n1mmfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/ordering.h"
#include "writers/outputfile.h"

QString BuildN1mmText()
{
    CallDatabase.sortByCall();

    QString text;
    for (const CallEntry &entry : CallDatabase) {
        const QVector<LocatorEntry> ranked = RankedLocators(entry);
        text += entry.call;
        text += QLatin1String(";;");
        text += ranked.at(0).locator;
        if (ranked.size() >= 2) {
            text += QLatin1Char(';');
            text += ranked.at(1).locator;
            text += QLatin1Char(';');
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QByteArray BuildCallsLocListing()
{
    QByteArray out;
    for (const CallEntry &entry : CallDatabase) {
        out += entry.call.toLocal8Bit();
        out += ' ';
        for (const LocatorEntry &locator : RankedLocators(entry)) {
            out += locator.locator.toLocal8Bit();
            out += " (";
            out += QByteArray::number(locator.weight);
            out += ' ';
            out += DayText(locator.date).toLocal8Bit();
            out += ") ";
        }
        out += '\n';
    }
    return out;
}

void WriteN1mmFiles()
{
    ConsolePrint("Generate N1MM import file n1mm_qth.txt with %d calls\n", CallDatabase.size());
    const QString text = BuildN1mmText();
    SaveOutputFile(QStringLiteral("n1mm_qth.txt"), text.toLocal8Bit());
    SaveOutputFile(QStringLiteral("calls_loc.dbg"), BuildCallsLocListing());
}
