// Helpers of the Windows implementation: Kib's UTF-8 strings to and from the
// wide-character strings of the system's functions, and the system's error
// codes as errno numbers.
#pragma once

#include <string>
#include <string_view>

namespace kib::platform::win32 {

// UTF-8 to UTF-16. Text that is not valid UTF-8 is read in the code page of the
// text codec (Windows-1252 unless KIB_CODEPAGE names another).
std::wstring Widen(std::string_view text);
// UTF-16 to UTF-8.
std::string Narrow(std::wstring_view text);

// The Windows code page number of a code page name ("CP1250", "WINDOWS-1250",
// "ISO-8859-2", "1250"); 0 when the name means none.
unsigned CodePageNumber(std::string_view name);

// The errno number that matches a Windows error code.
int ErrnoOf(unsigned long windowsError);
// ErrnoOf the calling thread's last error.
int LastErrno();

} // namespace kib::platform::win32
