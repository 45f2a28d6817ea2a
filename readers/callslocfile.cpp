#include "readers/callslocfile.h"

#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "database/ordering.h"
#include "readers/sourcefiles.h"
#include "readers/textlinereader.h"
#include "writers/outputfile.h"

namespace {

/// 98 characters of text a read, plus the terminating zero.
constexpr int lineBufferSize = 99;

} // namespace

std::optional<CallsLocRecord> ParseCallsLocLine(const QString &line)
{
    static DateTextParser dates(QStringLiteral("dd.MM.yyyy"));

    const QStringList fields = line.simplified().split(QLatin1Char(','));
    if (fields.size() < 4)
        return std::nullopt;

    CallsLocRecord record;
    record.call = fields.at(0).simplified();
    record.locator = fields.at(1).simplified();
    record.weight = fields.at(3).simplified().toInt();
    if (record.call.isEmpty() || record.locator.isEmpty() || record.weight <= 0)
        return std::nullopt;
    // The date is matched exactly as the line's simplification left it: a
    // blank after the comma stays and makes the date invalid.
    record.date = dates.parse(fields.at(2));
    return record;
}

int ReadCallsLocFile(const QFileInfo &file)
{
    const QByteArray name = file.fileName().toLocal8Bit();
    ConsolePrint("%s found, processing ... \n", name.constData());
    FilePrint(DebugLog, "Processing %s \n", name.constData());

    TextLineReader reader(lineBufferSize);
    if (!reader.open(file.absoluteFilePath()))
        return 0;

    ConsolePrint("calls_loc.dat found, read  ... ");
    int count = 0;
    QString line;
    while (reader.readLine(line)) {
        const std::optional<CallsLocRecord> record = ParseCallsLocLine(line);
        if (!record)
            continue;
        AddCallLocator(record->call, record->locator, record->date, record->weight);
        ++count;
    }
    ConsolePrint(" %d Call/Locator combinations\n", count);
    return count;
}

void ReadCallsLocFiles(const QString &directory)
{
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("calls_loc*.dat"));
    for (const QFileInfo &file : files)
        ReadCallsLocFile(file);
}

QByteArray BuildCallsLocDat()
{
    QByteArray out;
    for (const CallEntry &entry : CallDatabase) {
        const QByteArray call = entry.call.toLocal8Bit();
        for (const LocatorEntry &locator : RankedLocators(entry)) {
            out += call;
            out += ',';
            out += locator.locator.toLocal8Bit();
            out += ',';
            out += DayText(locator.date).toLocal8Bit();
            out += ',';
            out += QByteArray::number(locator.weight);
            out += '\n';
        }
    }
    return out;
}

void WriteCallsLocDat()
{
    ConsolePrint("Write out database as calls_loc.dat file\n");
    SaveOutputFile(QStringLiteral("calls_loc.dat"), BuildCallsLocDat());
}
