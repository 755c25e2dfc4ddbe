// The product's name, version and credits as written into the sheets.
#pragma once

#include <string>

namespace kib {

// The program's own name beside the product's, in the About box and the sheets' generator line.
inline constexpr const char* kProgramName = "Quillomat";
inline constexpr const char* kCopyrightNotice = "Copyright (c) Kib developers";
// Written where the credit line names the product's home; Kib has no web address of
// its own, so the sheets name the product rather than print an address that leads nowhere.
inline constexpr const char* kProductWebAddress = "Kib";

// The version as written into documents: major.minor.release(build), 4.2.5(1).
// The numbers are the project's version in the build files, the build being
// its fourth part.
std::string VersionText();

// What `kib --version` and `kib-gui --version` print: "Kib 4.2.5(1)".
std::string ProgramVersionLine();

} // namespace kib
