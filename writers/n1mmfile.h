#pragma once

#include <QByteArray>
#include <QString>

class OutputPhase;

/// Sorts the database by call for good and returns the text of "n1mm_qth.txt":
/// each call with its best locator, and its second best where it has more.
QByteArray BuildN1mmText();

/// The content of "calls_loc.dbg": each call with all its ranked locators,
/// their weights and last-seen dates.
QByteArray BuildCallsLocListing();

/// Announces, builds and writes "n1mm_qth.txt", then writes "calls_loc.dbg".
void WriteN1mmFiles(OutputPhase &phase);
