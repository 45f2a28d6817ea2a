// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/checkcommand.h"
#include "app/commandline.h"
#include "app/driver.h"
#include "base/clock.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    // --help, --version and refused arguments end here, before any file is touched.
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    const int answered = AnswerCommandLine(commandLine);
    if (answered >= 0)
        return answered;

    Platform::PrepareProcess(argv);

    if (!Clock::SetNowFromEnvironment())
        std::fprintf(stderr, "gridcol: GRIDCOL_NOW is not an ISO 8601 date-time; using the system clock\n");

    const int code = commandLine.request == CommandLineRequest::Check ? RunCheck(argc, argv, commandLine)
                                                                      : RunGridcol(argc, argv);
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // Built with a sanitizer, the process ends the ordinary way, so that the
    // sanitizer sees everything torn down and reports what was not.
    return code;
#else
    // The database of a large run is hundreds of thousands of small blocks;
    // handing them back one by one only delays the end. Everything is
    // written and saved by now: the process ends without tearing them down.
    std::_Exit(code);
#endif
}
