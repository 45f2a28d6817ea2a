// SPDX-FileCopyrightText: 2026 The gridcol developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/keywait.h"

#include <windows.h>

#include <vector>

// The console keeps its input as a queue of records: key presses and releases,
// mouse, focus and size events. A key counts once a key-down record of a key
// other than a lone modifier is queued, as for the C runtime's _kbhit. The
// queue is only looked at (PeekConsoleInput), never read, so nothing the user
// typed, nor any other record, is taken from it.

namespace {

bool IsLoneModifier(WORD key)
{
    switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

enum class Queue { KeyDown, OtherRecords, Empty, Broken };

Queue LookAtQueue(HANDLE input)
{
    DWORD count = 0;
    if (!GetNumberOfConsoleInputEvents(input, &count))
        return Queue::Broken;
    if (count == 0)
        return Queue::Empty;
    std::vector<INPUT_RECORD> records(count);
    DWORD seen = 0;
    if (!PeekConsoleInputW(input, records.data(), count, &seen))
        return Queue::Broken;
    for (DWORD i = 0; i < seen; ++i) {
        const INPUT_RECORD &record = records[i];
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown
            && !IsLoneModifier(record.Event.KeyEvent.wVirtualKeyCode))
            return Queue::KeyDown;
    }
    return Queue::OtherRecords;
}

/// Milliseconds left of a wait of timeoutMs begun at start; INFINITE for a negative timeout.
DWORD TimeLeft(int timeoutMs, ULONGLONG start)
{
    if (timeoutMs < 0)
        return INFINITE;
    const ULONGLONG elapsed = GetTickCount64() - start;
    return elapsed >= ULONGLONG(timeoutMs) ? 0 : DWORD(ULONGLONG(timeoutMs) - elapsed);
}

} // namespace

bool KeyPressPending(int timeoutMs)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    // A pipe, a file, the NUL device or no handle at all (a scheduled task):
    // there is no key to wait for. Only a console answers GetConsoleMode.
    if (input == nullptr || input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode))
        return true;

    // While records other than key presses are queued the handle stays
    // signalled, so the wait would spin; then look again a little later
    // instead. With the queue empty the wait blocks until something arrives.
    const DWORD pause = 50;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const Queue queue = LookAtQueue(input);
        if (queue == Queue::KeyDown || queue == Queue::Broken)
            return true;
        const DWORD left = TimeLeft(timeoutMs, start);
        if (left == 0)
            return false;
        if (queue == Queue::OtherRecords) {
            Sleep(left < pause ? left : pause);
            continue;
        }
        const DWORD woken = WaitForSingleObject(input, left);
        if (woken == WAIT_FAILED)
            return true; // the console cannot be watched: nothing to wait for
    }
}

void WaitForKeyPress()
{
    while (!KeyPressPending(-1)) {
    }
}
