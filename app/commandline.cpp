#include "app/commandline.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextCodec>

#include <cstdio>

namespace {

// The same text on every system, so nothing in it may be true on one only.
const char UsageText[] = "Usage: gridcol [--help | --version]\n"
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
                         "Options:\n"
                         "  -h, --help     Show this text and exit.\n"
                         "  -V, --version  Show the version number and exit.\n"
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

CommandLineRequest ReadCommandLine(int argc, const char *const *argv, QByteArray *problem)
{
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringList { QStringLiteral("V"), QStringLiteral("version") });
    QCommandLineParser parser;
    parser.addOption(help);
    parser.addOption(version);

    // Each argument is read on its own, so that a refusal names the one that is
    // wrong; no option takes a value, so no argument depends on its neighbour.
    bool wantsHelp = false;
    bool wantsVersion = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        // Taken from the raw bytes: decoding would turn a stray byte into a
        // replacement character and the message would name the wrong text.
        if (!IsUtf8(argument)) {
            *problem = Refusal("argument", argument, false, " is not UTF-8 text");
            return CommandLineRequest::Refuse;
        }
        if (!parser.parse({ QStringLiteral("gridcol"), QString::fromUtf8(argument) })) {
            // The parser fails on an unknown option or on a value given to one
            // of the two options; it names none of them as they were typed.
            *problem = parser.unknownOptionNames().isEmpty() ? Refusal("option", argument, true, " takes no value")
                                                             : Refusal("unknown option", argument, true, "");
            return CommandLineRequest::Refuse;
        }
        // "--" ends the options for the parser and is no argument of its own:
        // it is refused like any other word.
        if (!parser.positionalArguments().isEmpty() || argument == "--") {
            *problem = Refusal("unexpected argument", argument, true, "");
            return CommandLineRequest::Refuse;
        }
        wantsHelp = wantsHelp || parser.isSet(help);
        wantsVersion = wantsVersion || parser.isSet(version);
    }
    if (wantsHelp)
        return CommandLineRequest::Help;
    if (wantsVersion)
        return CommandLineRequest::Version;
    return CommandLineRequest::Collect;
}

int AnswerCommandLine(int argc, char **argv)
{
    QByteArray problem;
    switch (ReadCommandLine(argc, argv, &problem)) {
    case CommandLineRequest::Collect:
        return -1;
    case CommandLineRequest::Help:
        return Show(UsageText);
    case CommandLineRequest::Version:
        return Show("gridcol " GRIDCOL_VERSION "\n");
    case CommandLineRequest::Refuse:
        std::fprintf(stderr, "%s\n", problem.constData());
        return 2;
    }
    return 2;
}
