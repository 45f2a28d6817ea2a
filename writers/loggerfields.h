// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class DayBytes;
class OutputLayout;
class OutputPhase;

/// What the files for other loggers share (writers/tucnakfile.h,
/// writers/minosfile.h, writers/n1mmhistory.h): which calls and locators
/// their formats can carry, and the count of those they leave out. Calls and
/// locators are written as the database holds them or not at all: a text
/// that would break a line apart, or shift its columns, is left out.

/// The characters a field of a logger file can carry.
enum class FieldCharacters {
    Local8Bit, ///< any: the file is in the local 8-bit encoding
    Ascii ///< ASCII only: the file is ASCII
};

/// True when text fits a field of a logger file: it is not empty, holds no
/// blank, comma, double quote or control character, no more than maxLength
/// characters, and nothing beyond ASCII where the file is ASCII.
bool FitsLoggerField(QStringView text, int maxLength, FieldCharacters characters);

/// No limit to the length of a field.
constexpr int anyFieldLength = 0x7fffffff;

/// What a logger file left out. Filled by the save's thread, read by the
/// caller once the output phase has finished.
struct LeftOutCount
{
    int calls = 0; ///< calls the file does not list at all
    int locators = 0; ///< locators it leaves out of the calls it lists
    bool complete = false; ///< the last piece was built: the counts are whole
};

/// The line of the debug log that gives the counts for fileName.
QByteArray LeftOutLogLine(const QString &fileName, const LeftOutCount &leftOut);

/// Appends ASCII text (FitsLoggerField() with FieldCharacters::Ascii) and
/// blanks after it up to width characters.
void AppendPaddedAscii(QByteArray &out, QStringView text, int width);

/// Appends the lines of a logger file for the calls begin to end (exclusive)
/// of the layout, counting into leftOut what its format cannot carry; days
/// is the calling thread's own.
using AppendLoggerLines = void (*)(const OutputLayout &layout, int begin, int end, QByteArray &out, DayBytes &days,
                                   LeftOutCount &leftOut);

/// A logger file built whole, its days in dateFormat; bytesPerCall is a
/// guess of its size, to reserve.
QByteArray BuildLoggerFile(const OutputLayout &layout, AppendLoggerLines append, const QString &dateFormat,
                           int bytesPerCall);

/// The console line "Generate <what> <fileName>", and the file saved piece by
/// piece as every output is saved, with its own memory of days on the save's
/// thread (the outputs are built side by side). leftOut is whole once the
/// phase has finished.
void WriteLoggerFile(OutputPhase &phase, const OutputLayout &layout, const QString &fileName, const char *what,
                     AppendLoggerLines append, const QString &dateFormat, LeftOutCount &leftOut);
