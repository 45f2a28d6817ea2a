#include "readers/adiflog.h"

#include "adif/adifdatabase.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "readers/sourcefiles.h"

#include <QLocale>
#include <QtMath>

#include <thread>

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

namespace {

/// Reads the plain decimals nearly every log writes ("144.300", "1296"): up
/// to 16 characters, digits with at most one point between them. With a
/// point, the at most 15 digits make a whole number below 2^53 and the point
/// a power of ten below 10^22; both are exact doubles, so one division gives
/// the correctly rounded value, the one a full conversion gives. Without a
/// point, the whole number is converted once. False for anything else.
bool PlainDecimal(QStringView text, double &value)
{
    static const double powers[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    const qsizetype size = text.size();
    if (size == 0 || size > 16)
        return false;
    qint64 digits = 0;
    int decimals = -1;
    for (qsizetype i = 0; i < size; ++i) {
        const ushort c = text[i].unicode();
        if (c >= '0' && c <= '9') {
            digits = 10 * digits + (c - '0');
            if (decimals >= 0)
                ++decimals;
        } else if (c == '.' && decimals < 0 && i > 0 && i < size - 1) {
            decimals = 0;
        } else {
            return false;
        }
    }
    value = decimals > 0 ? double(digits) / powers[decimals] : double(digits);
    return true;
}

} // namespace

double ContactFrequency(QStringView freq, QStringView band)
{
    double frequency = 0.0;
    if (!PlainDecimal(freq, frequency)) {
        // QString::toDouble() without the copy: the C locale, group separators rejected.
        static const QLocale numbers = [] {
            QLocale c = QLocale::c();
            c.setNumberOptions(QLocale::RejectGroupSeparator);
            return c;
        }();
        frequency = numbers.toDouble(freq);
    }
    // "nan" is not a number either; taken as it is it would pass every
    // comparison with 144 MHz.
    if (qIsNaN(frequency))
        frequency = 0.0;
    if (frequency == 0.0)
        frequency = BandFrequency(band);
    return frequency;
}

namespace {

/// The positions of the fields the import reads. Looking them up appends
/// the names the catalogue does not know yet.
struct ImportFields
{
    explicit ImportFields(AdifDataBase &store)
        : call(store.FieldIndex(QStringLiteral("CALL")))
        , locator(store.FieldIndex(QStringLiteral("GRIDSQUARE")))
        , date(store.FieldIndex(QStringLiteral("QSO_DATE")))
        , frequency(store.FieldIndex(QStringLiteral("FREQ")))
        , band(store.FieldIndex(QStringLiteral("BAND")))
    {
    }

    int call, locator, date, frequency, band;
};

int ImportRecords(const AdifDataBase &store, const ImportFields &fields)
{
    static DateTextParser dates(QStringLiteral("yyyyMMdd"));

    int accepted = 0;
    const int count = store.RecordCount();
    QString callStorage, locatorStorage, dateStorage;
    // The records are taken in blocks, what the merges of a block will read
    // fetched ahead first.
    AdifRecord block[prefetchBlock];
    QStringView calls[prefetchBlock];
    for (int i = 0; i < count; ++i) {
        const int inBlock = i % prefetchBlock;
        if (inBlock == 0) {
            const int size = qMin(prefetchBlock, count - i);
            for (int k = 0; k < size; ++k) {
                block[k] = store.GetRecord(i + k);
                calls[k] = block[k].ValueView(fields.call);
            }
            PrefetchMerges(calls, size);
        }
        const AdifRecord &record = block[inBlock];
        const QStringView call = SimplifiedView(record.ValueView(fields.call), callStorage);
        const QStringView locator = SimplifiedView(record.ValueView(fields.locator), locatorStorage);
        const double frequency
            = ContactFrequency(record.ValueView(fields.frequency), record.ValueView(fields.band));
        // Below 2 m, and records with no usable frequency at all, pass silently.
        if (frequency < 144.0)
            continue;
        const QDateTime date = dates.parse(SimplifiedView(record.ValueView(fields.date), dateStorage));
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

void AnnounceAdifFile(const QFileInfo &file)
{
    const QByteArray name = file.fileName().toLocal8Bit();
    ConsolePrint("Verarbeite %s ... ", name.constData());
    FilePrint(DebugLog, "Verarbeite %s \n", name.constData());
}

/// Imports the records of a file that is in the store already.
int ImportReadFile(const ImportFields &fields)
{
    FilePrint(DebugLog, "ADIF QSOs %d\n", AdifStore.RecordCount());
    const int accepted = ImportRecords(AdifStore, fields);
    ConsolePrint("%d of %d\n", accepted, AdifStore.RecordCount());
    return accepted;
}

} // namespace

int ImportAdifRecords()
{
    return ImportRecords(AdifStore, ImportFields(AdifStore));
}

int ImportAdifFile(const QFileInfo &file)
{
    AnnounceAdifFile(file);
    AdifStore.ClearRecords();
    // A file that cannot be opened leaves the store empty: "0 of 0".
    AdifStore.ReadAdifFile(file.absoluteFilePath(), nullptr, nullptr);
    return ImportReadFile(ImportFields(AdifStore));
}

AdifLogImport::AdifLogImport(const QString &directory, bool readFirstNow)
    : m_files(ListSourceFiles(directory, QStringLiteral("*.adi")))
{
    if (readFirstNow && !m_files.isEmpty())
        readAhead(0);
}

AdifLogImport::~AdifLogImport()
{
    if (m_reader.joinable())
        m_reader.join();
}

void AdifLogImport::readAhead(int index)
{
    // The store starts from the catalogue as the process-wide store has it
    // now, so the file's fields get the positions they would get if that
    // store read it itself.
    m_ahead.CopyFieldCatalogue(AdifStore);
    const QString path = m_files.at(index).absoluteFilePath();
    PrepareDateHandling();
    m_reader = std::thread([this, path] { m_aheadResult = m_ahead.ReadAdifFile(path, nullptr, nullptr); });
}

void AdifLogImport::run()
{
    for (int i = 0; i < m_files.size(); ++i) {
        AnnounceAdifFile(m_files.at(i));
        if (m_reader.joinable()) {
            m_reader.join();
            AdifStore.TakeOverRead(m_ahead, m_aheadResult);
        } else {
            AdifStore.ClearRecords();
            // A file that cannot be opened leaves the store empty: "0 of 0".
            AdifStore.ReadAdifFile(m_files.at(i).absoluteFilePath(), nullptr, nullptr);
        }
        // The import's lookups may add to the catalogue; the next file is
        // read from the catalogue they leave.
        const ImportFields fields(AdifStore);
        if (i + 1 < m_files.size())
            readAhead(i + 1);
        ImportReadFile(fields);
    }
}

void ImportAdifFiles(const QString &directory)
{
    AdifLogImport(directory, false).run();
}
