#include "support/test_files.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"

#include <cerrno>
#include <fstream>
#include <sstream>

namespace kib::test {

std::string MakeTempDir(const std::string& tag) {
    const std::string base = platform::WithSeparator(platform::TempDirectory()) + "kib-" + tag +
                             "-" + std::to_string(platform::ProcessId()) + "-";
    // The first number whose folder is not there yet (a test of an earlier run
    // that had the same process id may have left one).
    for (int serial = 0; serial < 100000; ++serial) {
        const std::string path = base + std::to_string(serial);
        if (platform::KindOf(path, false) != platform::FileKind::Missing) {
            continue;
        }
        int error = 0;
        if (platform::CreateFolders(path, error)) {
            return path;
        }
    }
    return {};
}

std::string NativePath(std::string path) {
    const char separator = platform::PreferredSeparator();
    for (char& c : path) {
        if (platform::IsSeparator(c)) {
            c = separator;
        }
    }
    return path;
}

std::string TestData(const std::string& relative) {
    return NativePath(std::string(KIB_TEST_DATA_DIR) + "/" + relative);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(platform::FsPath(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(platform::FsPath(path), std::ios::binary) << content;
}

} // namespace kib::test
