#pragma once

#include "adif/adifdatabase.h"

#include <QFileInfo>
#include <QFileInfoList>
#include <QString>
#include <QStringView>

#include <thread>

/// The frequency in MHz a band name stands for, compared without regard to
/// case ("2m" 144.0, "70cm" 432.0, ...); 0.0 for any other name.
double BandFrequency(QStringView band);

/// The frequency in MHz of an ADIF record: its FREQ value as a number with
/// "." as decimal point, or where that gives 0.0 the frequency of its BAND.
double ContactFrequency(QStringView freq, QStringView band);

/// Hands every record of the process-wide ADIF store on 144 MHz and above
/// that has a call and a locator to the database with weight 1; records
/// without call or locator are reported in the debug log. Returns how many
/// were handed on.
int ImportAdifRecords();

/// Reads one ADIF log into the process-wide ADIF store, emptied first, and
/// imports its records. Returns the number of records handed on.
int ImportAdifFile(const QFileInfo &file);

/// Imports every "*.adi" file of a source directory, as ImportAdifFile()
/// one by one would, each file read on a second thread while the one before
/// it is imported.
void ImportAdifFiles(const QString &directory);

/// ImportAdifFiles() in two steps: made, it lists the files and, with
/// readFirstNow, starts reading the first at once on a second thread, so
/// that reading it goes on beside other work; run() then imports them all.
/// Nothing but the ADIF import may touch the process-wide ADIF store in
/// between. (Alone, the first file is read faster on the thread that imports
/// it: the C library gives that thread's memory faster.)
class AdifLogImport
{
public:
    AdifLogImport(const QString &directory, bool readFirstNow);
    ~AdifLogImport();
    AdifLogImport(const AdifLogImport &) = delete;
    AdifLogImport &operator=(const AdifLogImport &) = delete;

    void run();

private:
    /// Reads file into the process-wide store and imports its records
    /// beside the reading, as the last file, whose reading nothing else
    /// overlaps. False, with nothing done, where that cannot be done.
    bool importBesideReading(const QFileInfo &file);
    /// Starts reading file index into m_ahead on m_reader.
    void readAhead(int index);

    const QFileInfoList m_files;
    AdifDataBase m_ahead;
    int m_aheadResult = 0;
    std::thread m_reader;
};
