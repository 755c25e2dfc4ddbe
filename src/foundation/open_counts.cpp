#include "foundation/open_counts.h"

namespace kib {

OpenCounts::OpenCounts(const OpenCounts& other) : counts_(other.Counts()) {}

OpenCounts& OpenCounts::operator=(const OpenCounts& other) {
    if (this != &other) {
        std::map<std::string, int> counts = other.Counts();
        const std::lock_guard<std::mutex> lock(mutex_);
        counts_ = std::move(counts);
    }
    return *this;
}

void OpenCounts::Count(const std::string& path) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++counts_[path];
}

std::map<std::string, int> OpenCounts::Counts() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return counts_;
}

void OpenCounts::Clear() {
    const std::lock_guard<std::mutex> lock(mutex_);
    counts_.clear();
}

} // namespace kib
