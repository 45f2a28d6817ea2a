// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/console.h"

#include <cstdarg>

FILE *DebugLog = nullptr;

static FILE *consoleFile = nullptr;

FILE *ConsoleFile()
{
    return consoleFile ? consoleFile : stdout;
}

void SetConsoleFile(FILE *file)
{
    consoleFile = file;
}

void ConsolePrint(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(ConsoleFile(), format, args);
    va_end(args);
}

void FilePrint(FILE *file, const char *format, ...)
{
    if (!file)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
}
