// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextCodec>

#include <cstdio>

namespace {

// The same text on every system, so nothing in it may be true on one only.
const char UsageText[] = "Usage: gridcol [--help | --version]\n"
                         "       gridcol --check LOG... [--all] [--json] [--map FILE]\n"
                         "\n"
                         "Collects which Maidenhead locator each callsign was heard from, out of the\n"
                         "files of other radio programs, and writes one call/locator database in the\n"
                         "formats VHF contest loggers import.\n"
                         "\n"
                         "gridcol works in the current directory and takes no other arguments. There\n"
                         "it reads gridcol.ini, which lists the source directories and describes\n"
                         "delimited text files, and the ADIF field catalogue adif.txt. In each source\n"
                         "directory it reads calls_loc*.dat, kstlist, vhf.dtb, the files gridcol.ini\n"
                         "describes, *.exp, *.blacklist, *.edi and *.adi. Into the current directory\n"
                         "it writes n1mm_qth.txt, calls_loc.dbg, master.scp, calls_loc.dat, vhf.dtb\n"
                         "and the log gridcol.dbg, replacing earlier ones. At the end it waits for a\n"
                         "key when its standard input is a terminal.\n"
                         "\n"
                         "With --check it writes nothing but the map --map asks for: it builds the\n"
                         "same database from every source except the LOGs themselves (and copies of\n"
                         "them), reads each LOG (EDI or ADIF) and prints a report of its QSOs whose\n"
                         "call or locator the database does not bear out, the suspect ones first.\n"
                         "Exit status 0 when no QSO is suspect, 1 when one is, 2 when a LOG cannot\n"
                         "be read or the map cannot be written.\n"
                         "\n"
                         "Options:\n"
                         "  -h, --help     Show this text and exit.\n"
                         "  -V, --version  Show the version number and exit.\n"
                         "  --check        Check the LOGs named after the options.\n"
                         "  --all          With --check: list every QSO, the plainly OK ones too.\n"
                         "  --json         With --check: print the report as one JSON document.\n"
                         "  --map FILE     With --check: also draw the logs' QSOs on a map, an HTML\n"
                         "                 page written to FILE, the suspect ones in red.\n"

                         "\n"
                         "Environment:\n"
                         "  GRIDCOL_NOW    The local date-time the run takes as \"now\", in ISO 8601,\n"
                         "                 for example 2026-12-06T10:00:00.\n"
                         "\n"
                         "The manual page gridcol(1) and the README describe every setting.\n";

/// The argument as it can be shown on a terminal: control bytes, and every
/// byte beyond ASCII when the argument is not UTF-8, become \xHH.
QByteArray Printable(const QByteArray &argument, bool utf8)
{
    QByteArray shown;
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || (byte >= 0x80 && !utf8)) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

/// Well-formed UTF-8: no stray, overlong or truncated sequence.
bool IsUtf8(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

/// One line that names the argument and points to the usage text.
QByteArray Refusal(const char *before, const QByteArray &argument, bool utf8, const char *after)
{
    return QByteArray("gridcol: ") + before + " '" + Printable(argument, utf8) + "'" + after + "; see 'gridcol --help'";
}

/// Prints the answer; a full disk or a closed pipe behind standard output is
/// an error, so that a script sees that the text did not arrive.
int Show(const char *text)
{
    if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0)
        return 0;
    std::fputs("gridcol: could not write to standard output\n", stderr);
    return 1;
}

} // namespace

CommandLine ReadCommandLine(int argc, const char *const *argv)
{
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringList { QStringLiteral("V"), QStringLiteral("version") });
    const QCommandLineOption check(QStringLiteral("check"));
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption json(QStringLiteral("json"));
    QCommandLineParser parser;
    parser.addOptions({ help, version, check, all, json });

    CommandLine result;
    const auto refuse = [&result](const QByteArray &line) {
        result.request = CommandLineRequest::Refuse;
        result.problem = line;
        return result;
    };
    // --check turns the other words into logs, wherever it stands.
    bool checking = false;
    for (int i = 1; i < argc; ++i)
        checking = checking || QByteArray(argv[i]) == "--check";

    // Each argument is read on its own, so that a refusal names the one that
    // is wrong; only --map takes a value, the next argument.
    bool wantsHelp = false;
    bool wantsVersion = false;
    bool optionsEnded = false;
    QByteArray checkOnly;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        // Taken from the raw bytes: decoding would turn a stray byte into a
        // replacement character and the message would name the wrong text.
        if (!IsUtf8(argument))
            return refuse(Refusal("argument", argument, false, " is not UTF-8 text"));
        const QString text = QString::fromUtf8(argument);
        if (checking && (optionsEnded || !argument.startsWith('-') || argument == "-")) {
            if (argument.isEmpty())
                return refuse(Refusal("unexpected argument", argument, true, ""));
            result.logs << text;
            continue;
        }
        if (checking && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--map" || argument.startsWith("--map=")) {
            if (argument == "--map" && i + 1 >= argc)
                return refuse(Refusal("option", argument, true, " needs a file name"));
            result.map = argument == "--map" ? QString::fromUtf8(argv[++i]) : text.mid(6);
            if (result.map.isEmpty())
                return refuse(Refusal("option", argument, true, " needs a file name"));
            if (checkOnly.isEmpty())
                checkOnly = "--map";
            continue;
        }
        if (!parser.parse({ QStringLiteral("gridcol"), text })) {
            // The parser fails on an unknown option or on a value given to one
            // of the options; it names none of them as they were typed.
            return refuse(parser.unknownOptionNames().isEmpty() ? Refusal("option", argument, true, " takes no value")
                                                                : Refusal("unknown option", argument, true, ""));
        }
        // "--" ends the options for the parser and is no argument of its own:
        // without --check it is refused like any other word.
        if (!parser.positionalArguments().isEmpty() || argument == "--")
            return refuse(Refusal("unexpected argument", argument, true, ""));
        wantsHelp = wantsHelp || parser.isSet(help);
        wantsVersion = wantsVersion || parser.isSet(version);
        if (checkOnly.isEmpty() && (parser.isSet(all) || parser.isSet(json)))
            checkOnly = argument;
        result.all = result.all || parser.isSet(all);
        result.json = result.json || parser.isSet(json);
    }
    if (wantsHelp) {
        result.request = CommandLineRequest::Help;
        return result;
    }
    if (wantsVersion) {
        result.request = CommandLineRequest::Version;
        return result;
    }
    if (!checking && !checkOnly.isEmpty())
        return refuse(QByteArray("gridcol: option '") + checkOnly + "' goes with --check; see 'gridcol --help'");
    if (checking && result.logs.isEmpty())
        return refuse("gridcol: --check needs the logs to check; see 'gridcol --help'");
    result.request = checking ? CommandLineRequest::Check : CommandLineRequest::Collect;
    return result;
}

int AnswerCommandLine(const CommandLine &commandLine)
{
    switch (commandLine.request) {
    case CommandLineRequest::Collect:
    case CommandLineRequest::Check:
        return -1;
    case CommandLineRequest::Help:
        return Show(UsageText);
    case CommandLineRequest::Version:
        return Show("gridcol " GRIDCOL_VERSION "\n");
    case CommandLineRequest::Refuse:
        std::fprintf(stderr, "%s\n", commandLine.problem.constData());
        return 2;
    }
    return 2;
}
