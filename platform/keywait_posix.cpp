// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/keywait.h"

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

/// Puts the terminal into non-canonical mode for the lifetime of the object, so
/// that one key press is readable without Enter, and puts it back afterwards.
/// TCSANOW on restoring keeps the pending key in the input queue.
class RawTerminal
{
public:
    explicit RawTerminal(int fd)
        : m_fd(fd)
    {
        if (tcgetattr(m_fd, &m_saved) != 0)
            return;
        termios raw = m_saved;
        raw.c_lflag &= ~tcflag_t(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        m_active = tcsetattr(m_fd, TCSANOW, &raw) == 0;
    }
    ~RawTerminal()
    {
        if (m_active)
            tcsetattr(m_fd, TCSANOW, &m_saved);
    }
    RawTerminal(const RawTerminal &) = delete;
    RawTerminal &operator=(const RawTerminal &) = delete;

private:
    int m_fd;
    termios m_saved {};
    bool m_active = false;
};

} // namespace

bool KeyPressPending(int timeoutMs)
{
    const int fd = STDIN_FILENO;
    if (!isatty(fd))
        return true;

    RawTerminal raw(fd);
    pollfd watch { fd, POLLIN, 0 };
    for (;;) {
        const int ready = poll(&watch, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return true; // the console cannot be watched: nothing to wait for
        if (ready == 0)
            return false;
        // Input, a hang-up or an error all end the wait.
        return true;
    }
}

void WaitForKeyPress()
{
    while (!KeyPressPending(-1)) {
    }
}
