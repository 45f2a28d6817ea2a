#pragma once

#include <QByteArray>
#include <QString>

class DayBytes;
class OutputPhase;

/// Sorts the database by call for good and returns the text of "n1mm_qth.txt":
/// each call with its best locator, and its second best where it has more.
QByteArray BuildN1mmText();
/// Appends the lines of calls [begin, end) of the sorted database to text.
void AppendN1mmText(int begin, int end, QByteArray &text);

/// The content of "calls_loc.dbg": each call with all its ranked locators,
/// their weights and last-seen dates.
QByteArray BuildCallsLocListing();
/// Appends the lines of calls [begin, end) to out; days is the calling thread's own.
void AppendCallsLocListing(int begin, int end, QByteArray &out, DayBytes &days);

/// Announces, builds and writes "n1mm_qth.txt", then writes "calls_loc.dbg".
void WriteN1mmFiles(OutputPhase &phase);
