#include "platform/interrupts.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <atomic>

namespace kib::platform {

namespace {

// Written by the console's handler thread; the count of requests not yet taken.
std::atomic<int> received{0};
int taken = 0;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        received.fetch_add(1);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void CatchInterrupts() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int TakeInterrupts() {
    const int now = received.load();
    const int count = now - taken;
    taken = now;
    return count;
}

void RaiseInterrupt() {
    OnConsoleEvent(CTRL_C_EVENT);
}

} // namespace kib::platform
