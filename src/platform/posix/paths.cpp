#include "platform/paths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kib::platform {

char PreferredSeparator() {
    return '/';
}

bool IsSeparator(char c) {
    return c == '/';
}

std::string WithSeparator(std::string path) {
    if (!path.empty() && !IsSeparator(path.back())) {
        path += PreferredSeparator();
    }
    return path;
}

bool IsAbsolutePath(std::string_view path) {
    return !path.empty() && path[0] == '/';
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string CurrentDirectory() {
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    return ec ? std::string() : here.string();
}

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string path = dir && *dir ? dir : "/tmp";
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

char PathListSeparator() {
    return ':';
}

std::string_view ExecutableSuffix() {
    return "";
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::filesystem::path FsPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::string PathString(const std::filesystem::path& path) {
    return path.string();
}

} // namespace kib::platform
