// The product's name, version and credits as written into the sheets.
#pragma once

#include <string>

namespace kib {

inline constexpr int kVersionMajor = 4;
inline constexpr int kVersionMinor = 2;
inline constexpr int kVersionRelease = 5;
inline constexpr int kVersionBuild = 1;

inline constexpr const char* kCopyrightNotice = "Copyright (c) Kib developers";
// Placeholder until the product has a home page of its own.
inline constexpr const char* kProductWebAddress = "https://kib.example.org";

// The version as written into documents: 4.2.5(1).
std::string VersionText();

} // namespace kib
