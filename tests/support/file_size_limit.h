// A file system that takes no more than a few bytes per file, as a full disk
// would (Linux: RLIMIT_FSIZE, with SIGXFSZ ignored so that a write only fails).
// The old limit and signal handler come back when the object goes.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kib::test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        active_ = ::getrlimit(RLIMIT_FSIZE, &saved_) == 0;
        if (!active_) {
            return;
        }
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        changed_ = true;
        active_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set.
    bool Active() const { return active_; }
    // Gives back the old limit (before the test looks at what was written).
    void Lift() {
        if (changed_) {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            std::signal(SIGXFSZ, previous_);
            changed_ = false;
        }
    }

  private:
    struct rlimit saved_ {};
    void (*previous_)(int) = SIG_DFL;
    bool changed_ = false; // the limit and the handler are to be given back
    bool active_ = false;
};

} // namespace kib::test
