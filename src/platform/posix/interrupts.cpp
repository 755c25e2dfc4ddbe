#include "platform/interrupts.h"

#include <csignal>
#include <initializer_list>

namespace kib::platform {

namespace {

// Written by the signal handler only; the count of requests not yet taken.
volatile std::sig_atomic_t received = 0;
volatile std::sig_atomic_t taken = 0;

extern "C" void OnInterrupt(int) {
    received = received + 1;
}

} // namespace

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

int TakeInterrupts() {
    const int now = received;
    const int count = now - taken;
    taken = now;
    return count;
}

void RaiseInterrupt() {
    std::raise(SIGINT);
}

} // namespace kib::platform
