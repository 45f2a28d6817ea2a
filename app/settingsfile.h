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

/// Group names and keys written with bytes beyond ASCII, or with a vertical
/// tab or form feed, are read differently by Qt 5 (each byte a Latin-1
/// letter, the white space kept) and Qt 6 (UTF-8, the white space trimmed).
/// A group name is a file pattern, so that would change which files are
/// read. Both read "%XX" as the Latin-1 letter XX: every such byte of a
/// group name or key is written so, which reads as Qt 5 reads the byte
/// itself. Lines are found as QSettings finds them (quotes, backslashes, a
/// leading ";"); values stay as they are. Returns the text unchanged when
/// no name needs this.
QByteArray EscapeIniNames(const QByteArray &ini);

/// The file QSettings should read for the settings file fileName: fileName
/// itself, or, when KeepDirectoryBackslashes or EscapeIniNames changes its
/// text, the changed text written to copy (which must live as long as the
/// settings object).
QString SettingsFileToRead(const QString &fileName, QTemporaryFile &copy);

/// Makes settings read their values as UTF-8, so that paths and patterns
/// with letters beyond ASCII work; Qt 6 always reads them so.
void ReadValuesAsUtf8(QSettings &settings);
