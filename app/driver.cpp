// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/driver.h"

#include "adif/adifdatabase.h"
#include "app/outputsettings.h"
#include "app/settingsfile.h"
#include "base/clock.h"
#include "base/console.h"
#include "base/datetext.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"
#include "platform/keywait.h"
#include "readers/adiflog.h"
#include "readers/blacklistfile.h"
#include "readers/callslocfile.h"
#include "readers/delimitedfile.h"
#include "readers/edilog.h"
#include "readers/expfile.h"
#include "readers/kstlist.h"
#include "readers/sourcefiles.h"
#include "readers/vhfdtb.h"
#include "writers/callslocdbg.h"
#include "writers/callslocfile.h"
#include "writers/loggerfields.h"
#include "writers/minosfile.h"
#include "writers/mapfile.h"
#include "writers/n1mmfile.h"
#include "writers/n1mmhistory.h"
#include "writers/outputfile.h"
#include "writers/outputlayout.h"
#include "writers/superchecklist.h"
#include "writers/tucnakfile.h"
#include "writers/vhfdtb.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

const char HomepageUrl[] = "https://gridcol.org/";

QStringList ReadDirectoryList(QSettings &settings)
{
    QStringList directories;
    settings.beginGroup(QStringLiteral("directories"));
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys) {
        const QString directory = settings.value(key, QString()).toString();
        directories.append(directory);
        const QByteArray text = directory.toLocal8Bit();
        ConsolePrint("Dir: %s\n", text.constData());
        FilePrint(DebugLog, "Dir: %s\n", text.constData());
    }
    settings.endGroup();
    return directories;
}

namespace {

void ImportKstStep(const QString &directory)
{
    const QString path = directory + QStringLiteral("/kstlist");
    const int users = ImportKstList(path);
    ConsolePrint("KST Chat user from %s: %d imported\n", qPrintable(path), users);
}

/// The blacklists of a directory act on its own EDI logs and those of every later directory.
void AddBlacklistFiles(const QString &directory)
{
    for (const SourceFile &file : ListSourceFiles(directory, QStringLiteral("*.blacklist"))) {
        const QByteArray name = file.name.toLocal8Bit();
        ConsolePrint("Add Blacklist %s ... ", name.constData());
        FilePrint(DebugLog, "Add blacklist %s \n", name.constData());
        ReadBlacklistFile(file.path, Blacklist);
    }
}

/// Runs every reader on directory index of the list, in the fixed order, or
/// says why it is skipped.
void ProcessSourceDirectory(QSettings &settings, const QStringList &directories, int index,
                            AdifLogImports &adifLogs)
{
    const QString &directory = directories.at(index);
    if (directory.isEmpty())
        return;

    const QByteArray text = directory.toLocal8Bit();
    const QFileInfo info(directory);
    if (!info.exists() || !info.isDir()) {
        ConsolePrint("Skipping %s\n", text.constData());
        FilePrint(DebugLog, "Skipping %s\n", text.constData());
        return;
    }

    ConsolePrint("Entering %s\n", text.constData());
    FilePrint(DebugLog, "Entering %s\n", text.constData());

    adifLogs.enter(index);
    ReadCallsLocFiles(directory);
    ImportKstStep(directory);
    ReadVhfDtb(directory);
    ImportConfiguredAsciiFiles(settings, directory);
    ImportExpFiles(directory);
    AddBlacklistFiles(directory);
    ReadEdiFiles(directory);
    adifLogs.import();
}

} // namespace

void ProcessSourceDirectories(QSettings &settings, const QStringList &directories)
{
    AdifLogImports adifLogs(directories);
    for (int i = 0; i < directories.size(); ++i)
        ProcessSourceDirectory(settings, directories, i, adifLogs);
}

OutputSettings CollectSources()
{
    AdifStore.LoadFieldCatalogue(0, QStringLiteral("adif.txt"));
    // Windows paths typed with single backslashes are read as typed.
    QTemporaryFile settingsCopy;
    QSettings settings(SettingsFileToRead(QStringLiteral("gridcol.ini"), settingsCopy), QSettings::IniFormat);
    ReadValuesAsUtf8(settings);
    const QStringList directories = ReadDirectoryList(settings);
    OutputSettings outputs = ReadOutputSettings(settings, directories);
    for (const QString &warning : outputs.warnings) {
        const QByteArray text = warning.toLocal8Bit();
        ConsolePrint("%s\n", text.constData());
        FilePrint(DebugLog, "%s\n", text.constData());
    }
    ProcessSourceDirectories(settings, directories);
    return outputs;
}

void ResetRunState(const QDateTime &moment)
{
    CallDatabase.clear();
    Blacklist.clear();
    AdifStore.Reset();
    Clock::SetNow(moment);
    Clock::SetWallTime(moment);
    DebugLog = nullptr;
    SetConsoleFile(nullptr);
}

void WriteOutputs(const OutputSettings &outputs)
{
    // The layout is made before the first save starts and outlives the
    // phase, whose saves read it side by side.
    const OutputLayout layout(CallDatabase);
    OutputPhase phase;
    WriteN1mmFile(phase, layout);
    WriteCallsLocListing(phase, layout);
    WriteSuperCheckList(phase, layout);
    WriteCallsLocDat(phase, layout);
    WriteVhfDtb(phase, layout, Clock::Now());
    // The files for other loggers count what they leave out on their saves'
    // threads; the counts are read here once the phase has finished.
    LeftOutCount tucnak, minos, n1mmHistory;
    if (!outputs.tucnak.isEmpty())
        WriteTucnakFile(phase, layout, outputs.tucnak, tucnak);
    if (!outputs.minos.isEmpty())
        WriteMinosFile(phase, layout, outputs.minos, minos);
    if (!outputs.n1mmHistory.isEmpty())
        WriteN1mmHistory(phase, layout, outputs.n1mmHistory, n1mmHistory);
    if (!outputs.map.isEmpty()) {
        MapOptions mapOptions;
        mapOptions.home = outputs.home;
        mapOptions.moment = Clock::Now();
        WriteMapFile(phase, layout, outputs.map, mapOptions);
    }
    phase.finish();
    const struct
    {
        const QString &fileName;
        const LeftOutCount &leftOut;
    } counted[] = { { outputs.tucnak, tucnak }, { outputs.minos, minos }, { outputs.n1mmHistory, n1mmHistory } };
    for (const auto &file : counted) {
        if (file.leftOut.complete) {
            const QByteArray line = LeftOutLogLine(file.fileName, file.leftOut);
            FilePrint(DebugLog, "%s", line.constData());
        }
    }
}

int RunGridcol(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // The run's moment and Qt's date handling are settled before any second thread starts.
    Clock::Now();
    PrepareDateHandling();

    DebugLog = std::fopen("gridcol.dbg", "wt");
    // The log gets a line per record: it is written in large pieces.
    if (DebugLog)
        std::setvbuf(DebugLog, nullptr, _IOFBF, 1 << 20);

    ConsolePrint("gridcol: Collects a Call-Locator database from multible sources.\nVersion %s\n",
                 GRIDCOL_VERSION_TEXT);
    FilePrint(DebugLog, "Version %s\n", GRIDCOL_VERSION_TEXT);

    WriteOutputs(CollectSources());

    ConsolePrint("Ready!!\n Visit this programs homepage: %s\n", HomepageUrl);
    ConsolePrint("Press any key to terminate the program.\n");

    // Nothing written so far may wait for the key: a closed terminal would lose it.
    std::fflush(ConsoleFile());
    if (DebugLog)
        std::fflush(DebugLog);
    WaitForKeyPress();
    return 0;
}
