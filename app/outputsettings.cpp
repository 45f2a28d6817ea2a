// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/outputsettings.h"

#include "platform/platform.h"
#include "readers/delimitedfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>
#include <QVector>

namespace {

Qt::CaseSensitivity NameCase()
{
    return Platform::NamesIgnoreCase() ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

/// The output files the working directory holds besides the extra ones, and
/// the files a run reads there.
const char *const ownFiles[] = { "n1mm_qth.txt", "calls_loc.dbg", "master.scp",  "calls_loc.dat",
                                 "vhf.dtb",      "gridcol.dbg",   "gridcol.ini", "adif.txt" };
/// The files the readers look for in a source directory by pattern, which
/// they match without regard to case (ListSourceFiles()); the patterns of
/// the delimited-file groups join them.
const char *const sourcePatterns[] = { "calls_loc*.dat", "*.exp", "*.blacklist", "*.edi", "*.adi" };
/// The files the readers open by their name, as the system finds them.
const char *const sourceNames[] = { "kstlist", "vhf.dtb" };

/// The folder of a directory or file as the system finds it: its canonical
/// path where it exists, else its absolute path.
QString FolderPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

/// An output file as a folder and a name in it.
struct Target
{
    QString folder;
    QString name;
};

Target TargetOf(const QString &fileName)
{
    const QFileInfo info(QDir::cleanPath(QDir::current().absoluteFilePath(fileName)));
    return { FolderPath(info.path()), info.fileName() };
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, NameCase()) == 0;
}

bool SameFile(const Target &a, const Target &b)
{
    return SameName(a.folder, b.folder) && SameName(a.name, b.name);
}

/// True when a reader of the run would read the file name in a source directory.
bool IsSourceFile(const QString &name, const QStringList &groupPatterns)
{
    for (const char *pattern : sourcePatterns) {
        if (QDir::match(QStringList { QLatin1String(pattern) }, name))
            return true;
    }
    for (const QString &pattern : groupPatterns) {
        if (QDir::match(QStringList { pattern }, name))
            return true;
    }
    for (const char *fixed : sourceNames) {
        if (SameName(name, QLatin1String(fixed)))
            return true;
    }
    return false;
}

/// A value as the settings reader gives it; one with commas comes as a list.
QString ValueText(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString Warning(const QString &text)
{
    return QStringLiteral("Warning: [outputs] ") + text;
}

} // namespace

OutputSettings ReadOutputSettings(QSettings &settings, const QStringList &directories)
{
    OutputSettings outputs;
    // The files in their fixed order; home is a locator.
    struct Kind
    {
        const char *key;
        QString *value;
    };
    const Kind files[] = { { "tucnak", &outputs.tucnak },
                           { "minos", &outputs.minos },
                           { "n1mmhistory", &outputs.n1mmHistory },
                           { "map", &outputs.map } };

    settings.beginGroup(outputsGroup);
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys) {
        QString *value = nullptr;
        if (SameName(key, QStringLiteral("home")))
            value = &outputs.home;
        for (const Kind &kind : files) {
            if (SameName(key, QLatin1String(kind.key)))
                value = kind.value;
        }
        if (!value) {
            outputs.warnings << Warning(QStringLiteral("key \"%1\" is no kind of output; nothing is written for it")
                                            .arg(key));
            continue;
        }
        *value = ValueText(settings.value(key));
        if (value->isEmpty())
            outputs.warnings << Warning(QStringLiteral("key \"%1\" is empty; it is passed over").arg(key));
    }
    settings.endGroup();

    // Nothing overwrites a database, a source or another output.
    QStringList sourceFolders, sourceDirectories;
    for (const QString &directory : directories) {
        if (!directory.isEmpty() && QFileInfo(directory).isDir()) {
            sourceFolders << FolderPath(directory);
            sourceDirectories << directory;
        }
    }
    const QStringList groupPatterns = DelimitedFileGroups(settings);
    const QString workingFolder = FolderPath(QDir::currentPath());
    QVector<Target> taken;
    QStringList takenBy;
    for (const Kind &kind : files) {
        QString &fileName = *kind.value;
        if (fileName.isEmpty())
            continue;
        const Target target = TargetOf(fileName);
        const QString setting = QLatin1String(kind.key) + QLatin1Char('=') + fileName;
        QString refusal;
        if (SameName(target.folder, workingFolder)) {
            for (const char *own : ownFiles) {
                if (SameName(target.name, QLatin1String(own)))
                    refusal = QStringLiteral("would overwrite gridcol's own %1").arg(QLatin1String(own));
            }
        }
        for (int i = 0; refusal.isEmpty() && i < sourceFolders.size(); ++i) {
            if (SameName(target.folder, sourceFolders.at(i)) && IsSourceFile(target.name, groupPatterns))
                refusal = QStringLiteral("would overwrite a source file of %1").arg(sourceDirectories.at(i));
        }
        for (int i = 0; refusal.isEmpty() && i < taken.size(); ++i) {
            if (SameFile(target, taken.at(i)))
                refusal = QStringLiteral("names the file of %1 too").arg(takenBy.at(i));
        }
        if (refusal.isEmpty()) {
            taken << target;
            takenBy << QLatin1String(kind.key);
            continue;
        }
        outputs.warnings << Warning(setting + QLatin1Char(' ') + refusal + QStringLiteral("; it is not written"));
        fileName.clear();
    }
    return outputs;
}
