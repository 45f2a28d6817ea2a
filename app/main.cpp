#include "app/clock.h"
#include "app/commandline.h"
#include "app/driver.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    // --help, --version and refused arguments end here, before any file is touched.
    const int answered = AnswerCommandLine(argc, argv);
    if (answered >= 0)
        return answered;

    Platform::PrepareProcess(argv);

    if (!Clock::setNowFromEnvironment())
        std::fprintf(stderr, "gridcol: GRIDCOL_NOW is not an ISO 8601 date-time; using the system clock\n");

    const int code = RunGridcol(argc, argv);
    // The database of a large run is hundreds of thousands of small blocks;
    // handing them back one by one only delays the end. Everything is
    // written and saved by now: the process ends without tearing them down.
    std::fflush(nullptr);
    std::_Exit(code);
}
