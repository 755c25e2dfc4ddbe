// How often each input file was opened, counted from any thread: the built-in
// converter's and the proof's workers read sheets while the main thread reads
// the event's inputs.
#pragma once

#include <map>
#include <mutex>
#include <string>

namespace kib {

class OpenCounts {
  public:
    OpenCounts() = default;
    // A copy takes the counts as they are; each object keeps its own lock.
    OpenCounts(const OpenCounts& other);
    OpenCounts& operator=(const OpenCounts& other);

    // One more open of the file at path.
    void Count(const std::string& path);
    // The opens so far, by path.
    std::map<std::string, int> Counts() const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::map<std::string, int> counts_;
};

} // namespace kib
