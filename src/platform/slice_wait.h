// The wait for a started program that both systems' process runners share: one
// second at a time, with a stop poll after each, up to the time-out. Used only by
// src/platform/*/process.cpp; their Child types answer WaitUntil with SliceWait.
#pragma once

#include "platform/process.h"

#include <chrono>

namespace kib::platform {

enum class SliceWait { Ended, SliceOver, Failed };

// Tells how the wait ended; result.seconds counts the slices begun and
// result.error takes the child's error when waiting failed.
template <typename Child>
ProcessEnd WaitInSlices(Child& child, int timeoutSeconds, const StopPoll& stop,
                        ProcessResult& result) {
    constexpr std::chrono::milliseconds kSlice{1000};
    for (int elapsed = 0; elapsed < timeoutSeconds; ++elapsed) {
        result.seconds = elapsed + 1;
        switch (child.WaitUntil(std::chrono::steady_clock::now() + kSlice)) {
        case SliceWait::Ended:
            return ProcessEnd::Exited;
        case SliceWait::Failed:
            result.error = child.WaitError();
            return ProcessEnd::WaitFailed;
        case SliceWait::SliceOver:
            if (stop && stop()) {
                return ProcessEnd::Stopped;
            }
            break;
        }
    }
    return ProcessEnd::TimedOut;
}

} // namespace kib::platform
