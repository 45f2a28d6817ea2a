#include "platform/platform.h"

#include <QByteArray>

#include <csignal>

namespace Platform {

void PrepareProcess()
{
    // A file size limit then makes a write fail, which the outputs handle,
    // instead of killing the run halfway.
    std::signal(SIGXFSZ, SIG_IGN);

    // Without TZ the C library reads /etc/localtime again for every local
    // time Qt works out, several times a record; naming that same file in TZ
    // keeps the zone and spares the reads.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
}

const char *TextLineEnd()
{
    return "\n";
}

} // namespace Platform
