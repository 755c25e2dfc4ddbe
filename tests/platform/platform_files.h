// Small file helpers of the platform tests, written with the platform's own
// functions so that they behave the same on every system.
#pragma once

#include "platform/files.h"
#include "platform/paths.h"

#include <string>

namespace kib::test {

inline bool PutFile(const std::string& path, const std::string& content) {
    int error = 0;
    platform::RemoveFile(path, error);
    platform::File file = platform::CreateExclusive(path, error);
    return file.IsOpen() && file.WriteAll(content) && file.Close();
}

// The whole content; "<missing>" when the file cannot be opened.
inline std::string GetFile(const std::string& path) {
    int error = 0;
    platform::File file = platform::OpenForReading(path, error);
    if (!file.IsOpen()) {
        return "<missing>";
    }
    std::string content;
    char buffer[4096];
    for (long long n; (n = file.Read(buffer, sizeof buffer)) > 0;) {
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

// The name of the stand-in program (tests/standin), as the system runs it.
inline std::string StandinProgram() {
    return platform::AbsolutePath(KIB_STANDIN);
}

} // namespace kib::test
