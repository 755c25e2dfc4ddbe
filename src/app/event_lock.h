// One run at a time on an event: a Make run holds an exclusive lock on a lock
// file beside the configuration ("event.cfg.lock.kib") for its whole length, so
// that two runs (two terminals, or the desktop application and a script) never
// write the same sheets at once. The file names the run that holds it; it is
// removed when the run ends. The lock also ends when the process is killed (the
// file then stays, naming the killed run, until the next run takes it).
#pragma once

#include <memory>
#include <string>

namespace kib::platform {
class FileLock;
}

namespace kib {

// "event.cfg" -> "event.cfg.lock.kib".
std::string EventLockPath(const std::string& configPath);

class EventLock {
  public:
    EventLock();
    ~EventLock();
    EventLock(const EventLock&) = delete;
    EventLock& operator=(const EventLock&) = delete;

    // Takes the lock of the event whose configuration is configPath; what names
    // the run in the lock file (e.g. "Make Competition Maps SVG Files"). While
    // another run holds it, waits up to waitMs milliseconds, keeping the user
    // interface alive. False after an error line naming the other run. When no
    // lock file can be made (a read-only folder), the run goes on unlocked.
    bool Acquire(const std::string& configPath, const std::string& what, int waitMs);
    // Ends the lock (also done by the destructor).
    void Release();
    bool Held() const;

  private:
    std::string path_;
    std::unique_ptr<platform::FileLock> lock_;
};

} // namespace kib
