#include "app/driver.h"

#include "adif/adifdatabase.h"
#include "app/clock.h"
#include "app/console.h"
#include "app/keywait.h"
#include "app/settingsfile.h"
#include "database/blacklist.h"
#include "database/calldatabase.h"
#include "readers/adiflog.h"
#include "readers/asciiimport.h"
#include "readers/callslocfile.h"
#include "readers/edilog.h"
#include "readers/kstlist.h"
#include "readers/sourcefiles.h"
#include "readers/vhfdtb.h"
#include "writers/n1mmfile.h"
#include "writers/outputfile.h"
#include "writers/superchecklist.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryFile>

#include <memory>

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
    const QFileInfoList files = ListSourceFiles(directory, QStringLiteral("*.blacklist"));
    for (const QFileInfo &file : files) {
        const QByteArray name = file.fileName().toLocal8Bit();
        ConsolePrint("Add Blacklist %s ... ", name.constData());
        FilePrint(DebugLog, "Add blacklist %s \n", name.constData());
        ReadBlacklistFile(file.absoluteFilePath());
    }
}

bool HasEdiLogs(const QString &directory)
{
    return !ListSourceFiles(directory, QStringLiteral("*.edi")).isEmpty();
}

/// The ADIF import of the first listed directory with ADIF logs, its first
/// log read from the start of the run on a second thread, when anything is
/// read before it; else null. No ADIF log is imported before its turn, so
/// the catalogue it starts from is the one its turn would find.
std::unique_ptr<AdifLogImport> FirstAdifLogs(const QStringList &directories, int *index)
{
    for (int i = 0; i < directories.size(); ++i) {
        const QString &directory = directories.at(i);
        if (directory.isEmpty() || !QFileInfo(directory).isDir()
            || ListSourceFiles(directory, QStringLiteral("*.adi")).isEmpty())
            continue;
        // Alone, the first log is read faster on the thread that imports it.
        if (i == 0 && !HasEdiLogs(directory))
            return nullptr;
        *index = i;
        return std::make_unique<AdifLogImport>(directory, true);
    }
    return nullptr;
}

} // namespace

void ProcessSourceDirectory(QSettings &settings, const QString &directory, AdifLogImport *adifLogs)
{
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

    // With EDI logs to read, the first ADIF log is read from here on, beside
    // them and the other sources.
    std::unique_ptr<AdifLogImport> ownAdifLogs;
    if (!adifLogs) {
        ownAdifLogs = std::make_unique<AdifLogImport>(directory, HasEdiLogs(directory));
        adifLogs = ownAdifLogs.get();
    }
    ReadCallsLocFiles(directory);
    ImportKstStep(directory);
    ReadVhfDtb(directory);
    ImportConfiguredAsciiFiles(settings, directory);
    ImportExpFiles(directory);
    AddBlacklistFiles(directory);
    ReadEdiFiles(directory);
    adifLogs->run();
}

void ResetRunState(const QDateTime &moment)
{
    CallDatabase.clear();
    Blacklist.clear();
    AdifStore.Reset();
    Clock::setNow(moment);
    Clock::setWallTime(moment);
    DebugLog = nullptr;
    SetConsoleFile(nullptr);
}

void WriteOutputs()
{
    OutputPhase phase;
    WriteN1mmFiles(phase);
    WriteSuperCheckList(phase);
    WriteCallsLocDat(phase);
    WriteVhfDtb(phase);
    phase.finish();
}

int RunGridcol(int argc, char **argv)
{
    QCoreApplication application(argc, argv);

    DebugLog = std::fopen("gridcol.dbg", "wt");
    // The log gets a line per record: it is written in large pieces.
    if (DebugLog)
        std::setvbuf(DebugLog, nullptr, _IOFBF, 1 << 20);

    ConsolePrint("gridcol: Collects a Call-Locator database from multible sources.\nVersion 1.2 Mai 2023\n");
    FilePrint(DebugLog, "Version 1.2 Mai 2023\n");

    AdifStore.LoadFieldCatalogue(0, QStringLiteral("adif.txt"));

    // Windows paths typed with single backslashes are read as typed.
    QTemporaryFile settingsCopy;
    QSettings settings(SettingsFileToRead(QStringLiteral("gridcol.ini"), settingsCopy),
                       QSettings::IniFormat);
    // Paths and patterns with letters beyond ASCII are written in UTF-8 on this system.
    settings.setIniCodec("UTF-8");
    const QStringList directories = ReadDirectoryList(settings);

    int firstAdifIndex = -1;
    const std::unique_ptr<AdifLogImport> firstAdifLogs = FirstAdifLogs(directories, &firstAdifIndex);
    for (int i = 0; i < directories.size(); ++i)
        ProcessSourceDirectory(settings, directories.at(i), i == firstAdifIndex ? firstAdifLogs.get() : nullptr);

    WriteOutputs();

    ConsolePrint("Ready!!\n Visit this programs homepage: %s\n", HomepageUrl);
    ConsolePrint("Press any key to terminate the program.\n");

    // Nothing written so far may wait for the key: a closed terminal would lose it.
    std::fflush(ConsoleFile());
    if (DebugLog)
        std::fflush(DebugLog);
    WaitForKeyPress();
    return 0;
}
