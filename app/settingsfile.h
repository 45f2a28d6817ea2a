// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

class QSettings;
class QTemporaryFile;

/// Qt reads a backslash in an ini value as the start of an escape sequence
/// ("\\" for one backslash, "\n", "\t", "\x41", ...) and drops an unknown one
/// together with the character after it, so a Windows path typed as it is,
/// C:\Contest\Logs, would arrive as "C:ontestogs". In the groups
/// [directories] and [outputs], whose values are paths, a value with a
/// backslash that is not one of a pair "\\" gets every backslash doubled
/// here, so that Qt reads the path as it was typed. Values whose backslashes
/// all come in pairs (the escaped form C:\\Contest\\Logs), values without a
/// backslash and every other group stay as they are. Returns the text
/// unchanged when no value needs this.
QByteArray KeepDirectoryBackslashes(const QByteArray &ini);

/// The settings text rewritten where Qt 5 and Qt 6 would read it
/// differently, so that both read what Qt 5 reads from the text as it is.
///
/// - Group names and keys with bytes beyond ASCII: Qt 5 reads each byte as
///   a Latin-1 letter, Qt 6 reads UTF-8. A group name is a file pattern, so
///   that would change which files are read. Both read "%XX" as the Latin-1
///   letter XX: every such byte is written so.
/// - Keys ending in a vertical tab, form feed or a line end (after a
///   backslash): Qt 6 trims them, Qt 5 keeps them. Written as "%XX" too.
/// - Values with broken UTF-8: Qt 5 decodes each piece between backslashes,
///   quotes and commas on its own, a broken sequence at its end becoming
///   replacement characters; Qt 6 carries it over into the next piece or
///   drops it. Such a piece is written as the UTF-8 of what Qt 5 reads.
///
/// Lines are found as QSettings finds them (quotes, backslashes, a leading
/// ";"). Returns the text unchanged when nothing needs this.
QByteArray PortableIniText(const QByteArray &ini);

/// The file QSettings should read for the settings file fileName: fileName
/// itself, or, when KeepDirectoryBackslashes or PortableIniText changes its
/// text, the changed text written to copy (which must live as long as the
/// settings object).
QString SettingsFileToRead(const QString &fileName, QTemporaryFile &copy);

/// Makes settings read their values as UTF-8, so that paths and patterns
/// with letters beyond ASCII work; Qt 6 always reads them so.
void ReadValuesAsUtf8(QSettings &settings);
