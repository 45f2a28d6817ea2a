// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "app/settingsfile.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>

/*
 * The text handed to QSettings: Windows paths typed with single backslashes,
 * and group names and keys that Qt 5 and Qt 6 would read differently.
 */

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void keepDirectoryBackslashes_data() { AddRows("settingsfile/keepDirectoryBackslashes.tsv"); }

    void keepDirectoryBackslashes()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, kept);
        QCOMPARE(KeepDirectoryBackslashes(ini), kept == "<same>" ? ini : kept);
    }

    void namesBeyondAscii_data() { AddRows("settingsfile/namesBeyondAscii.tsv"); }

    void namesBeyondAscii()
    {
        // Both Qt versions read what Qt 5 reads from the bytes themselves.
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, escaped);
        QFETCH(QStringList, read);
        QCOMPARE(PortableIniText(ini), escaped.isEmpty() ? ini : escaped);

        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("gridcol.ini"));
        QVERIFY(WriteFileBytes(path, ini));
        QTemporaryFile copy;
        QSettings settings(SettingsFileToRead(path, copy), QSettings::IniFormat);
        ReadValuesAsUtf8(settings);
        QStringList found;
        for (const QString &key : settings.allKeys())
            found << key + QLatin1Char('=') + settings.value(key).toString();
        QCOMPARE(found, read);
    }
};

GRIDCOL_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
