// A temporary folder that tests fill with small shell scripts standing in for
// external programs, removed when the test ends; and a PATH set for one test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace kib::test {

class ScriptDir {
  public:
    ScriptDir() {
        std::string pattern = testing::TempDir() + "kib-app-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder";
        }
        path_ = pattern + "/";
    }
    ~ScriptDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScriptDir(const ScriptDir&) = delete;
    ScriptDir& operator=(const ScriptDir&) = delete;

    // The folder, ending with "/".
    const std::string& Path() const { return path_; }

    // Writes a file (folders made as needed) and returns its full path.
    std::string Write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path_ + name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }

    // Writes an executable /bin/sh script with the given body.
    std::string Script(const std::string& name, const std::string& body) const {
        const std::string file = Write(name, "#!/bin/sh\n" + body);
        std::filesystem::permissions(file, std::filesystem::perms::owner_all |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::group_exec);
        return file;
    }

  private:
    std::string path_;
};

// Sets PATH for the length of a test.
class PathOverride {
  public:
    explicit PathOverride(const std::string& path) {
        if (const char* old = std::getenv("PATH")) {
            old_ = old;
        }
        ::setenv("PATH", path.c_str(), 1);
    }
    ~PathOverride() {
        if (old_) {
            ::setenv("PATH", old_->c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
    }
    PathOverride(const PathOverride&) = delete;
    PathOverride& operator=(const PathOverride&) = delete;

  private:
    std::optional<std::string> old_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kib::test
