// A fresh folder for one test, removed with everything in it at the end; on
// every system Kib runs on.
#pragma once

#include "platform/paths.h"
#include "platform/process.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

namespace kib::test {

class TempFolder {
  public:
    explicit TempFolder(const std::string& tag = "test") {
        static std::atomic<int> serial{0};
        path_ = platform::TempDirectory() + platform::PreferredSeparator() + "kib-" + tag + "-" +
                std::to_string(platform::ProcessId()) + "-" + std::to_string(serial++);
        std::error_code ec;
        std::filesystem::remove_all(platform::FsPath(path_), ec);
        std::filesystem::create_directories(platform::FsPath(path_), ec);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(platform::FsPath(path_), ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a final separator.
    const std::string& Path() const { return path_; }
    // A name in the folder.
    std::string operator/(const std::string& name) const {
        return path_ + platform::PreferredSeparator() + name;
    }

  private:
    std::string path_;
};

} // namespace kib::test
