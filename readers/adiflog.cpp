#include "readers/adiflog.h"

#include "adif/adifdatabase.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "readers/sourcefiles.h"

#include <QLocale>
#include <QtMath>

double BandFrequency(QStringView band)
{
    static const struct
    {
        const char *name;
        double megahertz;
    } bands[] = { { "2M", 144.0 },
                  { "70CM", 432.0 },
                  { "23CM", 1296.0 },
                  { "13CM", 2320.0 },
                  { "9CM", 3400.0 } };
    for (const auto &entry : bands) {
        if (QtPrivate::compareStrings(band, QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.megahertz;
    }
    return 0.0;
}

double ContactFrequency(QStringView freq, QStringView band)
{
    // QString::toDouble() without the copy: the C locale, group separators rejected.
    static const QLocale numbers = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    double frequency = numbers.toDouble(freq);
    // "nan" is not a number either; taken as it is it would pass every
    // comparison with 144 MHz.
    if (qIsNaN(frequency))
        frequency = 0.0;
    if (frequency == 0.0)
        frequency = BandFrequency(band);
    return frequency;
}

int ImportAdifRecords()
{
    static DateTextParser dates(QStringLiteral("yyyyMMdd"));

    AdifDataBase &store = AdifStore;
    const int callField = store.FieldIndex(QStringLiteral("CALL"));
    const int locatorField = store.FieldIndex(QStringLiteral("GRIDSQUARE"));
    const int dateField = store.FieldIndex(QStringLiteral("QSO_DATE"));
    const int frequencyField = store.FieldIndex(QStringLiteral("FREQ"));
    const int bandField = store.FieldIndex(QStringLiteral("BAND"));

    int accepted = 0;
    const int count = store.RecordCount();
    QString callStorage, locatorStorage, dateStorage;
    for (int i = 0; i < count; ++i) {
        const AdifRecord record = store.GetRecord(i);
        const QStringView call = SimplifiedView(record.ValueView(callField), callStorage);
        const QStringView locator = SimplifiedView(record.ValueView(locatorField), locatorStorage);
        const double frequency = ContactFrequency(record.ValueView(frequencyField), record.ValueView(bandField));
        // Below 2 m, and records with no usable frequency at all, pass silently.
        if (frequency < 144.0)
            continue;
        const QDateTime date = dates.parse(SimplifiedView(record.ValueView(dateField), dateStorage));
        if (call.isEmpty() || locator.isEmpty()) {
            FilePrint(DebugLog, "Adif failed - %s %s %s %f\n", qPrintable(call.toString()),
                      qPrintable(locator.toString()), qPrintable(DayText(date)), frequency);
            continue;
        }
        AddCallLocator(call, locator, date, 1);
        ++accepted;
    }
    return accepted;
}

int ImportAdifFile(const QFileInfo &file)
{
    const QByteArray name = file.fileName().toLocal8Bit();
    ConsolePrint("Verarbeite %s ... ", name.constData());
    FilePrint(DebugLog, "Verarbeite %s \n", name.constData());

    AdifStore.ClearRecords();
    // A file that cannot be opened leaves the store empty: "0 of 0".
    AdifStore.ReadAdifFile(file.absoluteFilePath(), nullptr, nullptr);
    FilePrint(DebugLog, "ADIF QSOs %d\n", AdifStore.RecordCount());

    const int accepted = ImportAdifRecords();
    ConsolePrint("%d of %d\n", accepted, AdifStore.RecordCount());
    return accepted;
}

void ImportAdifFiles(const QString &directory)
{
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("*.adi"));
    for (const QFileInfo &file : files)
        ImportAdifFile(file);
}
