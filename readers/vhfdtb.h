#pragma once

#include <QByteArray>
#include <QString>

class OutputPhase;

/// WinTest's VHF database: records of 26 bytes, callsign (13 bytes and a zero),
/// locator (6 bytes and a zero), month and year of writing ("MMyy") and a zero.
namespace VhfDtb {
constexpr int recordSize = 26;
constexpr int callOffset = 0;
constexpr int callSize = 13;
constexpr int locatorOffset = 14;
constexpr int locatorSize = 6;
constexpr int dateOffset = 21;
constexpr int dateSize = 4;
} // namespace VhfDtb

/// Callsign and locator of one record, as the reader takes them.
struct VhfDtbRecord
{
    QString call;
    QString locator;
};

/// The per-record step of the reader: the text up to the first zero byte of
/// the call field (bytes 0 to 13) and of the locator field (bytes 14 to 20),
/// decoded as UTF-8. record must hold 26 bytes.
VhfDtbRecord ParseVhfDtbRecord(const char *record);

/// Reads "vhf.dtb" of a source directory into the database, if there is one.
void ReadVhfDtb(const QString &directory);

/// The content of "vhf.dtb": every call with its first and, where it has
/// more, its second-ranked locator (the call then followed by a blank).
QByteArray BuildVhfDtb();
/// Appends the records of calls [begin, end) of the sorted database to out.
void AppendVhfDtb(int begin, int end, QByteArray &out);

/// Announces and writes "vhf.dtb" in the working directory.
void WriteVhfDtb(OutputPhase &phase);
