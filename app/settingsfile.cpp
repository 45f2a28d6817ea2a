// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/settingsfile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QTextCodec>

#include <cstdio>

namespace {

/// The MIB number of UTF-8.
constexpr int utf8Mib = 106;

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

/// The bytes QSettings skips at the start of a line.
bool IsIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

/// One line as QSettings reads it, from pos on: where it starts (leading
/// white space skipped), where it ends, and where its "=" is (-1 for none).
/// Quotes hide "=", ";" and line ends; a backslash hides the byte after it
/// (and a line end pair); a ";" at the start makes the line a comment up to
/// its end, elsewhere it ends the line.
struct IniLine
{
    int start = 0;
    int end = 0;
    int equals = -1;
};

bool ReadIniLine(const QByteArray &data, int &pos, IniLine &line)
{
    const int size = data.size();
    bool inQuotes = false;
    line.equals = -1;
    line.start = pos;
    while (line.start < size && IsIniSpace(data.at(line.start)))
        ++line.start;
    int i = line.start;
    while (i < size) {
        const char c = data.at(i++);
        if (c == '=') {
            if (!inQuotes && line.equals == -1)
                line.equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char escaped = data.at(i++);
                if (i < size) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';') {
            if (i == line.start + 1) {
                while (i < size && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                while (i < size && IsIniSpace(data.at(i)))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.end = i;
    return line.end > line.start;
}

/// A byte of a group name or key that the two Qt versions read differently:
/// beyond ASCII in both; in a key also a vertical tab, form feed or line
/// end, which Qt 6 trims from its ends and Qt 5 keeps (both trim group names
/// alike).
bool NeedsEscape(char c, bool key)
{
    return static_cast<unsigned char>(c) >= 0x80
        || (key && (c == '\v' || c == '\f' || c == '\n' || c == '\r'));
}

/// True when bytes are whole UTF-8, no sequence broken or cut.
bool IsWholeUtf8(const char *bytes, int size)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(utf8Mib)->toUnicode(bytes, size, &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

} // namespace

QByteArray PortableIniText(const QByteArray &ini)
{
    QByteArray result;
    int copied = 0;
    const auto replace = [&](int from, int to, const QByteArray &with) {
        result += ini.mid(copied, from - copied);
        result += with;
        copied = to;
    };
    // A group name between "[" and "]", a key before its "=": bytes escaped.
    const auto escapeName = [&](int from, int to, bool key) {
        for (int i = from; i < to; ++i) {
            if (!NeedsEscape(ini.at(i), key))
                continue;
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(ini.at(i)));
            replace(i, i + 1, hex);
        }
    };
    // A value after its "=": each piece between backslash escapes, quotes
    // and commas that is no whole UTF-8 becomes the UTF-8 of its reading.
    const auto repairValue = [&](int from, int to) {
        int piece = from;
        for (int i = from; i <= to; ++i) {
            const bool boundary = i == to || ini.at(i) == '\\' || ini.at(i) == '"' || ini.at(i) == ',';
            if (!boundary)
                continue;
            if (i > piece && !IsWholeUtf8(ini.constData() + piece, i - piece))
                replace(piece, i,
                        QTextCodec::codecForMib(utf8Mib)->toUnicode(ini.constData() + piece, i - piece).toUtf8());
            // The byte after a backslash is the escape's own.
            piece = i < to && ini.at(i) == '\\' ? i + 2 : i + 1;
            if (piece > i + 1)
                ++i;
        }
    };
    int pos = ini.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    IniLine line;
    while (ReadIniLine(ini, pos, line)) {
        if (ini.at(line.start) == '[') {
            const int close = ini.indexOf(']', line.start);
            escapeName(line.start + 1, close < 0 || close >= line.end ? line.end : close, false);
        } else if (line.equals >= 0) {
            escapeName(line.start, line.equals, true);
            repairValue(line.equals + 1, line.end);
        }
    }
    if (copied == 0)
        return ini;
    result += ini.mid(copied);
    return result;
}

QByteArray KeepDirectoryBackslashes(const QByteArray &ini)
{
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    QByteArray result;
    result.reserve(ini.size());
    bool inPaths = false;
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
            const QByteArray group = GroupName(trimmed);
            inPaths = group.compare("directories", Qt::CaseInsensitive) == 0
                || group.compare("outputs", Qt::CaseInsensitive) == 0;
        } else if (inPaths && !trimmed.startsWith(';')) {
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
    const QByteArray kept = PortableIniText(KeepDirectoryBackslashes(text));
    if (kept == text)
        return fileName;
    if (!copy.open() || copy.write(kept) != kept.size() || !copy.flush())
        return fileName;
    copy.close();
    return copy.fileName();
}

void ReadValuesAsUtf8(QSettings &settings)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings.setIniCodec("UTF-8");
#else
    Q_UNUSED(settings)
#endif
}
