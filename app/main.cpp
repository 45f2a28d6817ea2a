#include "app/clock.h"
#include "app/commandline.h"
#include "app/driver.h"

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    // --help, --version and refused arguments end here, before any file is touched.
    const int answered = AnswerCommandLine(argc, argv);
    if (answered >= 0)
        return answered;

    // A file size limit then makes a write fail, which the outputs handle,
    // instead of killing the run halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    Clock::nameTheSystemTimeZone();

    if (!Clock::setNowFromEnvironment())
        std::fprintf(stderr, "gridcol: GRIDCOL_NOW is not an ISO 8601 date-time; using the system clock\n");

    return RunGridcol(argc, argv);
}
