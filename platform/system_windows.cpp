#include "platform/platform.h"

#include <QtGlobal>

namespace Platform {

void PrepareProcess(char **argv)
{
    Q_UNUSED(argv)
    // Nothing to do: Windows has no signal for a file size limit (a write
    // beyond one simply fails), and its C runtime and Qt take the time zone
    // from the system settings without rereading files.
}

const char *TextLineEnd()
{
    return "\r\n";
}

} // namespace Platform
