#include "app/event_lock.h"

#include "foundation/app_state.h"
#include "foundation/atomic_file.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "platform/environment.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cerrno>
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
// Lock files made and removed by other runs are tried this often at most.
constexpr int kMaxRounds = 1000;

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

// What is at the lock file's name when it cannot be a lock file, in words.
std::string WhatIsThere(const std::string& path, int error) {
    const platform::FileKind kind = platform::KindOf(path, false);
    if (kind == platform::FileKind::Link) {
        return "a symbolic link";
    }
    if (error == EMLINK) {
        return "a file with another name too (a hard link)";
    }
    const std::string other = NonRegularKind(path);
    return other.empty() ? platform::ErrorText(error) : other;
}

enum class Made {
    Held,     // the new lock file is at its name and locked by this run
    Taken,    // something is at the name already
    Unlocked, // no lock file can be made here: the run goes on unlocked
};

// Makes the lock file anew, naming this run, and locks it before it takes its
// name, so that no other run can lock it first; an existing file is never
// written into.
Made MakeLockFile(const std::string& path, const std::string& what,
                  std::unique_ptr<FileLock>& held) {
    AtomicFile file;
    if (!file.Begin(path)) {
        App().Log().Debug("Cannot make the lock file %s (%s): the run is not locked.", path.c_str(),
                          file.Reason().c_str());
        return Made::Unlocked;
    }
    auto lock = std::make_unique<FileLock>();
    int error = 0;
    if (!file.Write(DescribeThisRun(what) + "\n") ||
        !lock->OpenExisting(file.TemporaryPath(), error) ||
        lock->TryLock(error) != FileLock::Try::Locked) {
        App().Log().Debug("Locking %s failed (%s): the run is not locked.", path.c_str(),
                          (error != 0 ? platform::ErrorText(error) : file.Reason()).c_str());
        return Made::Unlocked;
    }
    if (file.Commit({}, false)) {
        held = std::move(lock);
        return Made::Held;
    }
    if (file.Error() == EEXIST) {
        return Made::Taken;
    }
    App().Log().Debug("Cannot make the lock file %s (%s): the run is not locked.", path.c_str(),
                      file.Reason().c_str());
    return Made::Unlocked;
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
    for (int round = 0; round < kMaxRounds; ++round) {
        std::unique_ptr<FileLock> held;
        const Made made = MakeLockFile(path_, what, held);
        if (made != Made::Taken) {
            lock_ = std::move(held);
            return true;
        }
        // Another run's lock file, or one left by a run that has ended. It is
        // opened without following a link, and only a regular file with no
        // other name is taken for one.
        auto lock = std::make_unique<FileLock>();
        int error = 0;
        if (!lock->OpenExisting(path_, error)) {
            if (error == ENOENT) {
                continue; // removed meanwhile
            }
            App().Log().Error("Cannot lock the event: the lock file %s is %s, not a lock "
                              "file. Remove it and try again.",
                              path_.c_str(), WhatIsThere(path_, error).c_str());
            return false;
        }
        for (FileLock::Try result; (result = lock->TryLock(error)) != FileLock::Try::Locked;) {
            if (result == FileLock::Try::Failed) {
                App().Log().Debug("Locking %s failed (%s): the run is not locked.", path_.c_str(),
                                  platform::ErrorText(error).c_str());
                return true;
            }
            if (Clock::now() >= deadline) {
                App().Log().Error("Another run is working on this event: %s (lock file %s). "
                                  "Try again when it has ended.",
                                  ReadHolder(*lock).c_str(), path_.c_str());
                return false;
            }
            if (!waiting) {
                App().Log().Info("Waiting for another run of this event to end: %s...",
                                 ReadHolder(*lock).c_str());
                waiting = true;
            }
            App().GetHost().PumpEvents();
            std::this_thread::sleep_for(kRetryStep);
        }
        // The run that held it has ended. Its file is removed while still
        // locked, and this run makes its own.
        if (lock->IsAt(path_)) {
            lock->RemoveAndClose(path_);
        }
    }
    App().Log().Error("Cannot lock the event: the lock file %s keeps changing.", path_.c_str());
    return false;
}

} // namespace kib
