#include "app/settingsfile.h"

#include <QFile>
#include <QTemporaryFile>

namespace {

/// Where a line's value ends: at its end, or at a comment outside quotes.
int ValueEnd(const QByteArray &line, int from)
{
    bool quoted = false;
    for (int i = from; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ';' && !quoted)
            return i;
    }
    return line.size();
}

bool HasLoneBackslash(const QByteArray &line, int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (line.at(i) != '\\')
            continue;
        if (i + 1 < to && line.at(i + 1) == '\\')
            ++i;
        else
            return true;
    }
    return false;
}

/// The name of a group header line "[name]", or nothing for any other line.
QByteArray GroupName(const QByteArray &trimmed)
{
    if (!trimmed.startsWith('['))
        return QByteArray();
    const int close = trimmed.indexOf(']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

} // namespace

QByteArray KeepDirectoryBackslashes(const QByteArray &ini)
{
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    QByteArray result;
    result.reserve(ini.size());
    bool inDirectories = false;
    bool changed = false;
    int start = 0;
    while (start < ini.size()) {
        int end = start;
        while (end < ini.size() && ini.at(end) != '\n' && ini.at(end) != '\r')
            ++end;
        QByteArray line = ini.mid(start, end - start);
        QByteArray trimmed = line.trimmed();
        if (start == 0 && trimmed.startsWith(byteOrderMark))
            trimmed = trimmed.mid(byteOrderMark.size()).trimmed();

        if (trimmed.startsWith('[')) {
            // Qt matches group names without regard to case on Windows.
            inDirectories = GroupName(trimmed).compare("directories", Qt::CaseInsensitive) == 0;
        } else if (inDirectories && !trimmed.startsWith(';')) {
            const int equals = line.indexOf('=');
            const int valueEnd = equals < 0 ? -1 : ValueEnd(line, equals + 1);
            if (equals >= 0 && HasLoneBackslash(line, equals + 1, valueEnd)) {
                QByteArray value = line.mid(equals + 1, valueEnd - equals - 1);
                value.replace("\\", "\\\\");
                line = line.left(equals + 1) + value + line.mid(valueEnd);
                changed = true;
            }
        }
        result += line;
        // The line end as it was.
        while (end < ini.size() && (ini.at(end) == '\n' || ini.at(end) == '\r'))
            result += ini.at(end++);
        start = end;
    }
    return changed ? result : ini;
}

QString SettingsFileToRead(const QString &fileName, QTemporaryFile &copy)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fileName;
    const QByteArray text = file.readAll();
    const QByteArray kept = KeepDirectoryBackslashes(text);
    if (kept == text)
        return fileName;
    if (!copy.open() || copy.write(kept) != kept.size() || !copy.flush())
        return fileName;
    copy.close();
    return copy.fileName();
}
