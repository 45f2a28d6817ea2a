#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringView>

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

/// Imports every "*.adi" file of a source directory.
void ImportAdifFiles(const QString &directory);
