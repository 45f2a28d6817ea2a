#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryFile;

/// Qt reads a backslash in an ini value as the start of an escape sequence
/// ("\\" for one backslash, "\n", "\t", "\x41", ...) and drops an unknown one
/// together with the character after it, so a Windows path typed as it is,
/// C:\Contest\Logs, would arrive as "C:ontestogs". In the group
/// [directories], whose values are paths, a value with a backslash that is
/// not one of a pair "\\" gets every backslash doubled here, so that Qt reads
/// the path as it was typed. Values whose backslashes all come in pairs (the
/// escaped form C:\\Contest\\Logs), values without a backslash and every
/// other group stay as they are. Returns the text unchanged when no value
/// needs this.
QByteArray KeepDirectoryBackslashes(const QByteArray &ini);

/// The file QSettings should read for the settings file fileName: fileName
/// itself, or, when KeepDirectoryBackslashes changes its text, the changed
/// text written to copy (which must live as long as the settings object).
QString SettingsFileToRead(const QString &fileName, QTemporaryFile &copy);
