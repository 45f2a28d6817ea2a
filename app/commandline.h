#pragma once

#include <QByteArray>

/// gridcol takes no arguments for its work: it collects in the directory it is
/// started in. The command line only answers --help and --version and refuses
/// everything else, so that a mistyped option never runs a collection (which
/// overwrites its outputs) in whatever directory one happens to stand in.
/// Nothing here reads or writes a file.

/// What the arguments ask for.
enum class CommandLineRequest { Collect, Help, Version, Refuse };

/// Reads the arguments after the program name, as the raw bytes the system
/// passed. For Refuse, *problem gets the line that names the argument.
CommandLineRequest ReadCommandLine(int argc, const char *const *argv, QByteArray *problem);

/// Answers the command line on standard output or standard error. Returns the
/// exit code when gridcol should stop there (0 after help or version, 1 when
/// standard output cannot take them, 2 after a refused argument), or -1 when
/// there are no arguments and the run goes on.
int AnswerCommandLine(int argc, char **argv);
