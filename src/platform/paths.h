// The file-system rules of the operating system Kib runs on: separators,
// absolute paths, the program search path, program files and a few folders.
// Paths are UTF-8 strings everywhere in Kib; on Windows a path that is not
// valid UTF-8 is read in the code page of the text codec (Windows-1252 unless
// KIB_CODEPAGE names another), as configuration files written there hold them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kib::platform {

// The separator Kib writes: '/' on Linux, '\' on Windows.
char PreferredSeparator();
// Whether c separates folders: '/' on Linux; '\' and '/' on Windows.
bool IsSeparator(char c);
// The path with a separator appended unless it is empty or ends with one.
std::string WithSeparator(std::string path);

// Whether the path is absolute: a leading '/' on Linux; on Windows a leading
// separator (the current drive's root, or \\server\share) or a drive letter
// followed by ':' and a separator.
bool IsAbsolutePath(std::string_view path);
// The path made absolute against the current folder, "." and ".." steps
// resolved by name; empty stays empty.
std::string AbsolutePath(const std::string& path);
// The current folder (without a final separator, unless it is a root).
std::string CurrentDirectory();
// The folder for temporary files of tests and tools (without a final separator).
std::string TempDirectory();

// The separator of the folders in PATH: ':' on Linux, ';' on Windows.
char PathListSeparator();
// The file name suffix of programs: "" on Linux, ".exe" on Windows.
std::string_view ExecutableSuffix();
// Whether the path names a regular file that may be run: executable for the
// user on Linux; any regular file on Windows (the name decides there).
bool IsExecutableFile(const std::string& path);

// Conversions between Kib's path strings and std::filesystem paths.
std::filesystem::path FsPath(const std::string& path);
std::string PathString(const std::filesystem::path& path);

} // namespace kib::platform
