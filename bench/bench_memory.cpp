// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How long this machine takes to hand out memory a process touches for the
// first time: every page of a new block is written once, as a large run of
// gridcol writes its heap. On a virtual machine whose host backs memory
// lazily this now and then costs ten times as long as usual, and a run that
// lands on such a moment is slower for reasons outside gridcol; the figure
// printed beside the run times tells such moments apart.
//
// Usage: bench_memory [megabytes [rounds]]   (default 256, 3)
// Prints the best and the worst round in milliseconds per 100 MB.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char **argv)
{
    const long megabytes = argc > 1 ? std::max(1L, std::atol(argv[1])) : 256;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::size_t bytes = std::size_t(megabytes) << 20;
    double best = 0, worst = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<char[]> block(new char[bytes]);
        volatile char *const pages = block.get();
        for (std::size_t i = 0; i < bytes; i += 4096)
            pages[i] = char(i);
        const double per100 = double(timer.nsecsElapsed()) / 1e6 * 100.0 / double(megabytes);
        best = round == 0 ? per100 : std::min(best, per100);
        worst = round == 0 ? per100 : std::max(worst, per100);
    }
    std::printf("%.1f %.1f\n", best, worst);
    return 0;
}
