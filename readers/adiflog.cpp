#include "readers/adiflog.h"

#include "adif/adifdatabase.h"
#include "app/console.h"
#include "database/calldatabase.h"
#include "database/datetext.h"
#include "platform/platform.h"
#include "readers/sourcefiles.h"
#include "readers/workqueue.h"

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

/// The dates of the records, each distinct text worked out once. One import
/// runs at a time, on whichever thread.
DateTextParser &RecordDates()
{
    static DateTextParser dates(QStringLiteral("yyyyMMdd"));
    return dates;
}

/// Hands records to the database one block after another, in file order.
class RecordImport
{
public:
    explicit RecordImport(const ImportFields &fields)
        : m_fields(fields)
    {
    }

    /// Takes records[0 .. size), size at most prefetchBlock; what their
    /// merges will read is fetched ahead first.
    void take(const AdifRecord *records, int size);
    /// The number of records handed on so far.
    int accepted() const { return m_accepted; }

private:
    const ImportFields m_fields;
    DateTextParser &m_dates = RecordDates();
    QString m_callStorage, m_locatorStorage, m_dateStorage;
    int m_accepted = 0;
};

void RecordImport::take(const AdifRecord *records, int size)
{
    QStringView calls[prefetchBlock];
    for (int k = 0; k < size; ++k)
        calls[k] = records[k].ValueView(m_fields.call);
    PrefetchMerges(calls, size);
    for (int k = 0; k < size; ++k) {
        const AdifRecord &record = records[k];
        const QStringView call = SimplifiedView(record.ValueView(m_fields.call), m_callStorage);
        const QStringView locator = SimplifiedView(record.ValueView(m_fields.locator), m_locatorStorage);
        const double frequency
            = ContactFrequency(record.ValueView(m_fields.frequency), record.ValueView(m_fields.band));
        // Below 2 m, and records with no usable frequency at all, pass silently.
        if (frequency < 144.0)
            continue;
        const QDateTime date = m_dates.parse(SimplifiedView(record.ValueView(m_fields.date), m_dateStorage));
        if (call.isEmpty() || locator.isEmpty()) {
            FilePrint(DebugLog, "Adif failed - %s %s %s %f\n", qPrintable(call.toString()),
                      qPrintable(locator.toString()), qPrintable(DayText(date)), frequency);
            continue;
        }
        AddCallLocator(call, locator, date, 1);
        ++m_accepted;
    }
}

int ImportRecords(const AdifDataBase &store, const ImportFields &fields)
{
    RecordImport import(fields);
    AdifRecord block[prefetchBlock];
    const int count = store.RecordCount();
    for (int i = 0; i < count; i += prefetchBlock) {
        const int size = qMin(prefetchBlock, count - i);
        for (int k = 0; k < size; ++k)
            block[k] = store.GetRecord(i + k);
        import.take(block, size);
    }
    return import.accepted();
}

void AnnounceAdifFile(const QFileInfo &file)
{
    const QByteArray name = file.fileName().toLocal8Bit();
    ConsolePrint("Verarbeite %s ... ", name.constData());
    FilePrint(DebugLog, "Verarbeite %s \n", name.constData());
}

/// Reads a file into the process-wide store on this thread while a second
/// thread imports the records read so far, block by block and in file
/// order, from copies that share their text with the store's. The import's
/// log lines are kept aside until the file is read: the log then holds the
/// record count first and the import's lines after it, exactly as when the
/// file is read first and imported after. False, before anything is read,
/// where no place for those lines can be had.
bool ReadAndImport(const QFileInfo &file, const ImportFields &fields)
{
    Platform::ScratchStream scratch;
    FILE *const log = DebugLog;
    if (log && !scratch.file())
        return false;

    struct Block
    {
        QVector<AdifRecord> records;
        bool last = false;
    };
    // Large enough that handing over costs little, small enough that the
    // import ends soon after the file does.
    constexpr int blockSize = 1024;
    BoundedQueue<Block> queue(8);
    RecordImport import(fields);
    PrepareDateHandling();
    // Only the import writes to the log until the file is read.
    DebugLog = log ? scratch.file() : nullptr;
    std::thread importer([&queue, &import] {
        for (;;) {
            const Block block = queue.pop();
            for (int i = 0; i < block.records.size(); i += prefetchBlock)
                import.take(block.records.constData() + i, qMin(prefetchBlock, block.records.size() - i));
            if (block.last)
                return;
        }
    });

    int handed = 0;
    const auto handOn = [&queue, &handed](int upTo, bool last) {
        Block block;
        block.records.reserve(upTo - handed);
        for (; handed < upTo; ++handed)
            block.records.append(AdifStore.GetRecord(handed));
        block.last = last;
        queue.push(std::move(block));
    };
    AdifStore.ClearRecords();
    // A file that cannot be opened leaves the store empty: "0 of 0".
    AdifStore.ReadAdifFile(file.absoluteFilePath(), nullptr, [&handOn, &handed](int stored) {
        if (stored - handed >= blockSize)
            handOn(stored, false);
    });
    handOn(AdifStore.RecordCount(), true);
    importer.join();

    DebugLog = log;
    FilePrint(DebugLog, "ADIF QSOs %d\n", AdifStore.RecordCount());
    // Lines that could not be kept are lost as a failed write to the log would lose them.
    if (log)
        scratch.copyTo(log);
    ConsolePrint("%d of %d\n", import.accepted(), AdifStore.RecordCount());
    return true;
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

bool AdifLogImport::importBesideReading(const QFileInfo &file)
{
    // The import looks its fields up once the file is read, and a name the
    // catalogue lacks is appended then, after the file's own new names. Only
    // when the catalogue knows all of them already are their positions known
    // before the file is read; a copy of the catalogue tells.
    m_ahead.CopyFieldCatalogue(AdifStore);
    const int known = m_ahead.FieldCount();
    const ImportFields fields(m_ahead);
    if (m_ahead.FieldCount() != known)
        return false;
    return ReadAndImport(file, fields);
}

void AdifLogImport::run()
{
    for (int i = 0; i < m_files.size(); ++i) {
        AnnounceAdifFile(m_files.at(i));
        if (m_reader.joinable()) {
            m_reader.join();
            AdifStore.TakeOverRead(m_ahead, m_aheadResult);
        } else if (i + 1 == m_files.size() && importBesideReading(m_files.at(i))) {
            continue;
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
