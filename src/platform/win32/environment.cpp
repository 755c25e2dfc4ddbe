#include "platform/environment.h"

#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <shellapi.h>

namespace kib::platform {

using win32::Narrow;
using win32::Widen;

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Narrow(words[i]));
    }
    LocalFree(words);
    return arguments;
}

std::optional<std::string> EnvironmentValue(const std::string& name) {
    const std::wstring wide = Widen(name);
    const DWORD needed = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (needed == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            return std::nullopt;
        }
        return std::string();
    }
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wide.c_str(), value.data(), needed);
    value.resize(length < needed ? length : 0);
    return Narrow(value);
}

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    const std::wstring wideName = Widen(name);
    const std::wstring wideValue = value ? Widen(*value) : std::wstring();
    SetEnvironmentVariableW(wideName.c_str(), value ? wideValue.c_str() : nullptr);
    // The C runtime keeps its own copy, which getenv reads.
    _wputenv_s(wideName.c_str(), wideValue.c_str());
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

OperatingSystem ThisSystem() {
    return OperatingSystem::Windows;
}

bool IsTerminal(StandardStream stream) {
    DWORD which = STD_INPUT_HANDLE;
    if (stream == StandardStream::Output) {
        which = STD_OUTPUT_HANDLE;
    } else if (stream == StandardStream::Error) {
        which = STD_ERROR_HANDLE;
    }
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace kib::platform
