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
    for (int i = 0; i < CallDatabase.size(); ++i) {
        const QVector<LocatorEntry> &ranked = CallDatabase.rankedAt(i);
        text += CallDatabase.at(i).call;
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
    QString out;
    for (int i = 0; i < CallDatabase.size(); ++i) {
        out += CallDatabase.at(i).call;
        out += QLatin1Char(' ');
        for (const LocatorEntry &locator : CallDatabase.rankedAt(i)) {
            out += locator.locator;
            out += QLatin1String(" (");
            out += QString::number(locator.weight);
            out += QLatin1Char(' ');
            out += DayText(locator.date);
            out += QLatin1String(") ");
        }
        out += QLatin1Char('\n');
    }
    return out.toLocal8Bit();
}

void WriteN1mmFiles()
{
    ConsolePrint("Generate N1MM import file n1mm_qth.txt with %d calls\n", CallDatabase.size());
    const QString text = BuildN1mmText();
    SaveOutputFile(QStringLiteral("n1mm_qth.txt"), text.toLocal8Bit(), OutputMode::Text);
    SaveOutputFile(QStringLiteral("calls_loc.dbg"), BuildCallsLocListing(), OutputMode::Text);
}
