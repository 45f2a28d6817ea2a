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
    void keepDirectoryBackslashes_data();
    void keepDirectoryBackslashes();
    void namesBeyondAscii_data();
    void namesBeyondAscii();
};

void TestSettingsFile::keepDirectoryBackslashes_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("kept"); // what Qt must read; the same text where nothing changes

    const QByteArray same = "<same>";
    QTest::newRow("a path typed as it is") << QByteArray("[directories]\nlogs=C:\\Contest\\Logs\n")
                                           << QByteArray("[directories]\nlogs=C:\\\\Contest\\\\Logs\n");
    QTest::newRow("escaped already") << QByteArray("[directories]\nlogs=C:\\\\Contest\\\\Logs\n") << same;
    QTest::newRow("one lone backslash among pairs: every one doubled")
        << QByteArray("[directories]\na=C:\\\\x\\y\n") << QByteArray("[directories]\na=C:\\\\\\\\x\\\\y\n");
    QTest::newRow("a backslash at the end")
        << QByteArray("[directories]\na=D:\\\n") << QByteArray("[directories]\na=D:\\\\\n");
    QTest::newRow("the paths of the extra outputs")
        << QByteArray("[Outputs]\ntucnak=C:\\Tucnak\\tucnakcw\n")
        << QByteArray("[Outputs]\ntucnak=C:\\\\Tucnak\\\\tucnakcw\n");
    QTest::newRow("another group") << QByteArray("[*.csv]\ndelimiter=\\t\n[other]\na=C:\\x\n") << same;
    QTest::newRow("the group name in any case, with blanks")
        << QByteArray("[ Directories ]\na=C:\\x\n") << QByteArray("[ Directories ]\na=C:\\\\x\n");
    QTest::newRow("only up to the next group") << QByteArray("[directories]\na=C:\\x\n[*.csv]\ndelimiter=\\t\n")
                                               << QByteArray("[directories]\na=C:\\\\x\n[*.csv]\ndelimiter=\\t\n");
    QTest::newRow("a comment line") << QByteArray("[directories]\n ;a=C:\\x\n") << same;
    QTest::newRow("a comment after the value")
        << QByteArray("[directories]\na=C:\\x ;C:\\y\n") << QByteArray("[directories]\na=C:\\\\x ;C:\\y\n");
    QTest::newRow("a semicolon inside quotes")
        << QByteArray("[directories]\na=\"C:\\x;y\" ;C:\\z\n") << QByteArray("[directories]\na=\"C:\\\\x;y\" ;C:\\z\n");
    QTest::newRow("a backslash only in the key") << QByteArray("[directories]\nC:\\a=x\n") << same;
    QTest::newRow("line ends kept") << QByteArray("[directories]\r\na=C:\\x\r\n\r\nb=y")
                                    << QByteArray("[directories]\r\na=C:\\\\x\r\n\r\nb=y");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[directories]\na=C:\\x\n")
                                     << QByteArray("\xef\xbb\xbf[directories]\na=C:\\\\x\n");
}

void TestSettingsFile::keepDirectoryBackslashes()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, kept);
    QCOMPARE(KeepDirectoryBackslashes(ini), kept == "<same>" ? ini : kept);
}

void TestSettingsFile::namesBeyondAscii_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("escaped"); // what PortableIniText gives
    QTest::addColumn<QStringList>("read"); // "group/key=value" as QSettings then reads them

    QTest::newRow("a group name in UTF-8: a Latin-1 letter a byte")
        << QByteArray("[\xC3\x84*.csv]\nk=v\n") << QByteArray("[%C3%84*.csv]\nk=v\n")
        << QStringList { QStringLiteral("\u00C3\u0084*.csv/k=v") };
    QTest::newRow("a key; the value stays UTF-8")
        << QByteArray("[g]\n\xE4=\xC3\xA4\n") << QByteArray("[g]\n%E4=\xC3\xA4\n")
        << QStringList { QStringLiteral("g/\u00E4=\u00E4") };
    QTest::newRow("vertical tab and form feed around a key are kept")
        << QByteArray("[g]\n\vk\f =v\n") << QByteArray("[g]\n%0Bk%0C =v\n")
        << QStringList { QStringLiteral("g/\vk\f=v") };
    QTest::newRow("white space in a group name is trimmed") << QByteArray("[ \vg ]\nk=v\n") << QByteArray()
                                                            << QStringList { QStringLiteral("g/k=v") };
    QTest::newRow("an equals sign in quotes belongs to the key")
        << QByteArray("[g]\n\"a=\xB0\"=v\n") << QByteArray("[g]\n\"a=%B0\"=v\n")
        << QStringList { QStringLiteral("g/\"a=\u00B0\"=v") };
    QTest::newRow("a comment line and a comment after the value")
        << QByteArray("[g]\n;\xB0=x\nk=v ;\xB0=y\n") << QByteArray() << QStringList { QStringLiteral("g/k=v") };
    // The continued value holds the byte; a value is UTF-8, where the byte is none, so it
    // is rewritten as the replacement character that both Qt versions read alike.
    QTest::newRow("a value continued on the next line")
        << QByteArray("[g]\nk=a\\\n\xB0=b\n") << QByteArray("[g]\nk=a\\\n\xEF\xBF\xBD=b\n") << QStringList { QStringLiteral("g/k=a\uFFFD=b") };
    QTest::newRow("a percent sign before the byte")
        << QByteArray("[g]\n%\xB0=v\n") << QByteArray("[g]\n%%B0=v\n") << QStringList { QStringLiteral("g/%\u00B0=v") };
    QTest::newRow("byte-order mark, CR LF") << QByteArray("\xEF\xBB\xBF[\xB0]\r\nk=v\r\n")
                                           << QByteArray("\xEF\xBB\xBF[%B0]\r\nk=v\r\n")
                                           << QStringList { QStringLiteral("\u00B0/k=v") };
}

void TestSettingsFile::namesBeyondAscii()
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

GRIDCOL_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
