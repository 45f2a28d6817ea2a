// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "testsupport.h"

#include "platform/keywait.h"

#include <QElapsedTimer>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

/// Puts another file on standard input for as long as the object lives.
class StdinSwap
{
public:
    explicit StdinSwap(int fd)
        : m_saved(dup(STDIN_FILENO))
    {
        dup2(fd, STDIN_FILENO);
    }
    ~StdinSwap()
    {
        dup2(m_saved, STDIN_FILENO);
        close(m_saved);
    }

private:
    int m_saved;
};

} // namespace

class TestKeyWait : public QObject
{
    Q_OBJECT

private slots:
    void terminalWaitsForAKeyAndLeavesIt()
    {
        int master = -1;
        int slave = -1;
        QVERIFY(openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        {
            StdinSwap swap(slave);
            QElapsedTimer timer;
            timer.start();
            QVERIFY(!KeyPressPending(100));
            QVERIFY(timer.elapsed() >= 90); // it waited instead of answering at once

            // One key, no Enter: a terminal left in line mode would not report it.
            QCOMPARE(write(master, "x", 1), ssize_t(1));
            QVERIFY(KeyPressPending(5000));
            WaitForKeyPress();

            // The key is still there for whatever reads the console next.
            termios mode {};
            QVERIFY(tcgetattr(STDIN_FILENO, &mode) == 0);
            mode.c_lflag &= ~tcflag_t(ICANON);
            mode.c_cc[VMIN] = 0;
            mode.c_cc[VTIME] = 10;
            QVERIFY(tcsetattr(STDIN_FILENO, TCSANOW, &mode) == 0);
            char got[8] = {};
            QCOMPARE(read(STDIN_FILENO, got, sizeof got), ssize_t(1));
            QCOMPARE(got[0], 'x');
        }
        close(slave);
        close(master);
    }
};

GRIDCOL_TEST_MAIN(TestKeyWait)
#include "tst_keywait.moc"
