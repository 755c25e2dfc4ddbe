#include "app/event_lock.h"

#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "platform/environment.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/process.h"

#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

namespace kib {

namespace {

using Clock = std::chrono::steady_clock;
using platform::FileLock;

// How often a held lock is tried again while waiting.
constexpr std::chrono::milliseconds kRetryStep{100};
// The holder's description is one short line.
constexpr std::size_t kHolderSize = 300;

// "Kib process 4711 (Make Competition Maps SVG Files) since 2024-05-01 10:00:00".
std::string DescribeThisRun(const std::string& what) {
    const std::tm local = platform::LocalTime(std::time(nullptr));
    char since[32];
    std::strftime(since, sizeof since, "%Y-%m-%d %H:%M:%S", &local);
    return Format("Kib process %d (%s) since %s", platform::ProcessId(), what.c_str(), since);
}

std::string ReadHolder(const FileLock& lock) {
    std::string holder = lock.ReadText(kHolderSize - 1);
    holder = holder.substr(0, holder.find_first_of("\r\n"));
    return holder.empty() ? std::string("a run that has not named itself yet") : holder;
}

// The lock file, opened without following a link and without blocking; none
// when none can be made or something else is at its name.
std::unique_ptr<FileLock> OpenLockFile(const std::string& path) {
    auto lock = std::make_unique<FileLock>();
    int error = 0;
    if (lock->Open(path, error)) {
        return lock;
    }
    if (platform::KindOf(path) != platform::FileKind::Missing &&
        platform::KindOf(path) != platform::FileKind::Regular) {
        LogDebug("The lock file %s is not a regular file: the run is not locked.", path.c_str());
    } else {
        LogDebug("Cannot make the lock file %s (%s): the run is not locked.", path.c_str(),
                 platform::ErrorText(error).c_str());
    }
    return nullptr;
}

} // namespace

std::string EventLockPath(const std::string& configPath) {
    return configPath + ".lock.kib";
}

EventLock::EventLock() = default;

EventLock::~EventLock() {
    Release();
}

bool EventLock::Held() const {
    return lock_ != nullptr;
}

void EventLock::Release() {
    if (lock_) {
        // Removed while still locked: a run waiting on this file finds it gone
        // once it has the lock and opens the next one (see Acquire).
        lock_->RemoveAndClose(path_);
        lock_.reset();
    }
}

bool EventLock::Acquire(const std::string& configPath, const std::string& what, int waitMs) {
    Release();
    path_ = EventLockPath(configPath);
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    bool waiting = false;
    for (;;) {
        std::unique_ptr<FileLock> lock = OpenLockFile(path_);
        if (!lock) {
            return true;
        }
        int error = 0;
        for (FileLock::Try result; (result = lock->TryLock(error)) != FileLock::Try::Locked;) {
            if (result == FileLock::Try::Failed) {
                LogDebug("Locking %s failed (%s): the run is not locked.", path_.c_str(),
                         platform::ErrorText(error).c_str());
                return true;
            }
            if (Clock::now() >= deadline) {
                LogError("[** ERROR **] Another run is working on this event: %s (lock file %s). "
                         "Try again when it has ended.",
                         ReadHolder(*lock).c_str(), path_.c_str());
                return false;
            }
            if (!waiting) {
                LogInfo("Waiting for another run of this event to end: %s...",
                        ReadHolder(*lock).c_str());
                waiting = true;
            }
            App().GetHost().PumpEvents();
            std::this_thread::sleep_for(kRetryStep);
        }
        if (lock->IsAt(path_)) {
            lock->WriteText(DescribeThisRun(what) + "\n");
            lock_ = std::move(lock);
            return true;
        }
        // The run that held it has ended and removed it: the next file.
    }
}

} // namespace kib
