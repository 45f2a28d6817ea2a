#include "app/clock.h"
#include "app/commandline.h"
#include "app/driver.h"
#include "platform/platform.h"

#include <cstdio>

int main(int argc, char **argv)
{
    // --help, --version and refused arguments end here, before any file is touched.
    const int answered = AnswerCommandLine(argc, argv);
    if (answered >= 0)
        return answered;

    Platform::PrepareProcess();

    if (!Clock::setNowFromEnvironment())
        std::fprintf(stderr, "gridcol: GRIDCOL_NOW is not an ISO 8601 date-time; using the system clock\n");

    return RunGridcol(argc, argv);
}
