// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// gridcol.ini through the driver's per-directory step: the directory list
// is read and announced, and every import the settings describe runs on a
// fixed source directory (and on the listed directories that stay inside
// the scratch space), then every output is built. The group of the extra
// outputs is read too.

#include "fuzzsupport.h"

#include "app/driver.h"
#include "app/outputsettings.h"
#include "app/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

namespace {

/// A small source directory with one file of every kind gridcol reads.
void WriteSources(const QString &directory)
{
    static const char *const files[][2] = {
        { "calls_loc.dat", "DL1ABC,JO62QM,01.06.2026,3\nOK1XYZ,JN79AB,15.05.2025,1\n" },
        { "kstlist", "Chat> users\n(DL7QRT) JO62RM Tom\nSM5QXV JO89WL Sven\n" },
        { "a.csv", "Date;Call;Name;QTH;Locator\n14.03.2026;\"OE3MWC\";Martin;\"Wien; 3\";\"JN88EE\"\n"
                   "20260314,DK2XY,JN58TD\n" },
        { "b.txt", "DL2ABC\tJO31\t20260101\n\"DL2XYZ\"\t\"JO32\"\t20260102\n" },
        { "c.dat", "DL3ABC JO40 20260102\nDL3XYZ,JO41,2026-01-03\n" },
        { "directories", "DL8ABC,JO71,20260103\n" },
        { "d.exp", "1\n2\n3\n4\nDate,Time,Call,RST,RST,Locator\n14.03.26,1200,DL4ABC,59,59,JO50AB\n" },
        { "e.blacklist", "DL0ABC DL1XYZ 2026-05-01\n" },
        { "f.edi", "[REG1TEST;1]\nPCall=DL0ABC\nPWWLo=JO62QM\nTDate=20260501;20260502\n[QSORecords;2]\n"
                   "260501;1200;DL1XYZ;1;59;001;59;001;;JO30AB;100;;;;\n"
                   "260501;1201;DL5XYZ;1;59;002;59;002;;JO31AB;100;;;;\n[END;]\n" },
        { "g.adi", "x<eoh><CALL:6>DL6ABC<GRIDSQUARE:4>JO62<BAND:2>2m<QSO_DATE:8>20260601<eor>\n" },
    };
    for (const auto &file : files)
        Fuzz::WriteFile(directory + QLatin1Char('/') + QLatin1String(file[0]), QByteArray(file[1]));
    // Two records of 26 bytes: call, locator, "MMyy".
    Fuzz::WriteFile(directory + QStringLiteral("/vhf.dtb"),
                    QByteArray("DL9ABC\0\0\0\0\0\0\0\0JO62QM\0" "0626\0" "DL9XYZ\0\0\0\0\0\0\0\0JO63\0\0\0" "0626\0", 52));
}

/// A listed directory is processed only where it cannot leave the scratch space.
bool InsideScratchSpace(const QString &directory)
{
    return !directory.isEmpty() && QDir::isRelativePath(directory) && !directory.contains(QLatin1String(".."));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool prepared = [] {
        const QString work = Fuzz::ScratchDir(QStringLiteral("settings"));
        WriteSources(Fuzz::ScratchDir(QStringLiteral("settings/src")));
        return QDir::setCurrent(work);
    }();
    if (!prepared)
        Fuzz::Fail("settings working directory");
    Fuzz::BeginInput();

    // QSettings keeps what it read of a file until the file's size or time
    // changes; a new time per input makes it read every input.
    static qint64 inputs = 0;
    const QString path = QStringLiteral("gridcol.ini");
    Fuzz::WriteFile(path, Fuzz::Bytes(data, size));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(QDateTime::fromSecsSinceEpoch(++inputs), QFileDevice::FileModificationTime))
        Fuzz::Fail("settings file time");
    file.close();
    {
        // Read as a run reads it, through the copy that keeps backslashes and
        // escapes names where that is needed.
        QTemporaryFile copy;
        QSettings settings(SettingsFileToRead(path, copy), QSettings::IniFormat);
        ReadValuesAsUtf8(settings);
        const QStringList listed = ReadDirectoryList(settings);
        QStringList directories;
        for (int i = 0; i < qMin(listed.size(), 3); ++i) {
            if (InsideScratchSpace(listed.at(i)))
                directories << listed.at(i);
        }
        directories << QStringLiteral("src");
        // The extra outputs are only read: nothing is written for them here.
        ReadOutputSettings(settings, directories);
        ProcessSourceDirectories(settings, directories);
    }
    Fuzz::BuildOutputs();
    return 0;
}
