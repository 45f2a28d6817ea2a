// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "readers/adiflog.h"

#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "base/text.h"
#include "database/calldatabase.h"
#include "platform/platform.h"
#include "readers/workqueue.h"

#include <QFileInfo>
#include <QtMath>

double BandFrequency(QStringView band)
{
    static const struct
    {
        const char *name;
        double megahertz;
    } bands[] = { { "2M", 144.0 }, { "70CM", 432.0 }, { "23CM", 1296.0 }, { "13CM", 2320.0 }, { "9CM", 3400.0 } };
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
    if (!PlainDecimal(freq, frequency))
        frequency = ToDouble(freq);
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

/// Hands records to the database one block after another, in file order, on
/// whichever one thread it is used: it holds everything it needs.
class RecordImport
{
public:
    RecordImport(const ImportFields &fields, CallList &database, FILE *log, const QDateTime &now)
        : m_fields(fields)
        , m_database(database)
        , m_log(log)
        , m_adder(database, log, now)
    {
    }

    /// Takes records[0 .. size), size at most prefetchBlock; what their
    /// merges will read is fetched ahead first.
    void take(const AdifRecord *records, int size);
    /// Takes every record of store.
    void takeAll(const AdifDataBase &store);
    /// The number of records handed on so far.
    int accepted() const { return m_accepted; }

private:
    const ImportFields m_fields;
    CallList &m_database;
    FILE *const m_log;
    RecordAdder m_adder;
    DateTextParser m_dates { QStringLiteral("yyyyMMdd") };
    DayTexts m_days;
    QString m_callStorage, m_locatorStorage, m_dateStorage;
    int m_accepted = 0;
};

void RecordImport::take(const AdifRecord *records, int size)
{
    QStringView calls[prefetchBlock];
    for (int k = 0; k < size; ++k)
        calls[k] = records[k].ValueView(m_fields.call);
    PrefetchMerges(m_database, calls, size);
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
            FilePrint(m_log, "Adif failed - %s %s %s %f\n", qPrintable(call.toString()),
                      qPrintable(locator.toString()), qPrintable(m_days.text(date)), frequency);
            continue;
        }
        m_adder.add(call, locator, date, 1);
        ++m_accepted;
    }
}

void RecordImport::takeAll(const AdifDataBase &store)
{
    AdifRecord block[prefetchBlock];
    const int count = store.RecordCount();
    for (int i = 0; i < count; i += prefetchBlock) {
        const int size = qMin(prefetchBlock, count - i);
        for (int k = 0; k < size; ++k)
            block[k] = store.GetRecord(i + k);
        take(block, size);
    }
}

void AnnounceAdifFile(const SourceFile &file)
{
    const QByteArray name = file.name.toLocal8Bit();
    ConsolePrint("Verarbeite %s ... ", name.constData());
    FilePrint(DebugLog, "Verarbeite %s \n", name.constData());
}

/// Imports the records of a log that is in the process-wide store already,
/// with the lines of its turn.
int ImportReadFile(const ImportFields &fields)
{
    FilePrint(DebugLog, "ADIF QSOs %d\n", AdifStore.RecordCount());
    RecordImport import(fields, CallDatabase, DebugLog, Clock::Now());
    import.takeAll(AdifStore);
    ConsolePrint("%d of %d\n", import.accepted(), AdifStore.RecordCount());
    return import.accepted();
}

/// Reads a file into the process-wide store on this thread while a second
/// thread imports the records read so far, block by block and in file
/// order, from copies that share their text with the store's. The import
/// writes its log lines aside until the file is read: the log then holds the
/// record count first and the import's lines after it, exactly as when the
/// file is read first and imported after. False, before anything is read,
/// where no place for those lines can be had.
bool ReadAndImport(const SourceFile &file, const ImportFields &fields)
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
    // The database is the importing thread's alone until it is joined.
    RecordImport import(fields, CallDatabase, log ? scratch.file() : nullptr, Clock::Now());
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
    AdifStore.ReadAdifFile(file.path, nullptr, [&handOn, &handed](int stored) {
        if (stored - handed >= blockSize)
            handOn(stored, false);
    });
    handOn(AdifStore.RecordCount(), true);
    importer.join();

    FilePrint(log, "ADIF QSOs %d\n", AdifStore.RecordCount());
    // Lines that could not be kept are lost as a failed write to the log would lose them.
    if (log)
        scratch.copyTo(log);
    ConsolePrint("%d of %d\n", import.accepted(), AdifStore.RecordCount());
    return true;
}

/// Reads a log into the process-wide store, emptied first.
void ReadIntoStore(const SourceFile &file)
{
    AdifStore.ClearRecords();
    // A file that cannot be opened leaves the store empty: "0 of 0".
    AdifStore.ReadAdifFile(file.path, nullptr, nullptr);
}

bool HasEdiLogs(const QString &directory)
{
    return !ListSourceFiles(directory, QStringLiteral("*.edi")).isEmpty();
}

} // namespace

int ImportAdifRecords(AdifDataBase &store, CallList &database, FILE *log, const QDateTime &now)
{
    RecordImport import(ImportFields(store), database, log, now);
    import.takeAll(store);
    return import.accepted();
}

int ImportAdifFile(const SourceFile &file)
{
    AnnounceAdifFile(file);
    ReadIntoStore(file);
    return ImportReadFile(ImportFields(AdifStore));
}

AdifLogImports::AdifLogImports(const QStringList &directories)
    : m_directories(directories)
{
    // Nothing the reader thread reads is changed by any other: the store it
    // fills is its own, and its signals are sent by the store that takes it over.
    m_ahead.SetSignalsEnabled(false);
    for (int i = 0; i < directories.size(); ++i) {
        const QString &directory = directories.at(i);
        if (directory.isEmpty() || !QFileInfo(directory).isDir())
            continue;
        SourceFileList files = ListSourceFiles(directory, QStringLiteral("*.adi"));
        if (files.isEmpty())
            continue;
        if (i > 0 || HasEdiLogs(directory)) {
            m_early = i;
            m_files = files;
            readAhead(0);
            m_earlyFiles = files;
        }
        return;
    }
}

AdifLogImports::~AdifLogImports()
{
    if (m_reader.joinable())
        m_reader.join();
}

void AdifLogImports::enter(int index)
{
    if (index == m_early) {
        m_early = -1;
        m_files = m_earlyFiles;
        return;
    }
    const QString &directory = m_directories.at(index);
    m_files = ListSourceFiles(directory, QStringLiteral("*.adi"));
    if (!m_files.isEmpty() && HasEdiLogs(directory))
        readAhead(0);
}

void AdifLogImports::readAhead(int index)
{
    m_ahead.CopyFieldCatalogue(AdifStore);
    m_aheadCatalogue = AdifStore.FieldCount();
    m_reader = std::thread([this, path = m_files.at(index).path] {
        m_aheadResult = m_ahead.ReadAdifFile(path, nullptr, nullptr);
    });
}

bool AdifLogImports::finishReadAhead()
{
    m_reader.join();
    if (AdifStore.FieldCount() != m_aheadCatalogue) {
        m_ahead.Reset();
        m_ahead.SetSignalsEnabled(false);
        return false;
    }
    AdifStore.TakeOverRead(m_ahead, m_aheadResult);
    m_ahead.SetSignalsEnabled(false);
    return true;
}

void AdifLogImports::import()
{
    for (int i = 0; i < m_files.size(); ++i) {
        const SourceFile &file = m_files.at(i);
        AnnounceAdifFile(file);
        if (m_reader.joinable()) {
            if (!finishReadAhead())
                ReadIntoStore(file);
        } else if (i + 1 == m_files.size()) {
            // The import looks its fields up once the file is read, and a
            // name the catalogue lacks is appended then, after the file's
            // own new names. Only when the catalogue knows all of them
            // already are their positions known before the file is read; a
            // copy of the catalogue tells.
            AdifDataBase probe;
            probe.CopyFieldCatalogue(AdifStore);
            const int known = probe.FieldCount();
            const ImportFields fields(probe);
            if (probe.FieldCount() == known && ReadAndImport(file, fields))
                continue;
            ReadIntoStore(file);
        } else {
            ReadIntoStore(file);
        }
        // The import's lookups may add to the catalogue; the next file is
        // read from the catalogue they leave.
        const ImportFields fields(AdifStore);
        if (i + 1 < m_files.size())
            readAhead(i + 1);
        ImportReadFile(fields);
    }
    m_files.clear();
}
