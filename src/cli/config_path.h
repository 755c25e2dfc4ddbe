// The configuration file named on the command line. Its relative paths (maps,
// courses, output folder, logo) are resolved from its own folder, so the name
// the user typed is made absolute against the working folder before the
// document takes it apart.
#pragma once

#include <string>

namespace kib {
class CKibDoc;
}

namespace kib::cli {

// The path made absolute against the working folder, with "." and ".." steps
// resolved by name (links are not followed). An empty path stays empty.
std::string AbsoluteFromHere(const std::string& path);

// Opens the configuration file for a verb. A file that does not exist, is not a
// regular file or cannot be read gives "error: Cannot open configuration file
// PATH: REASON" on standard error and false; so does a file whose format the
// document does not recognise (after its own message box).
bool OpenConfiguration(CKibDoc& doc, const std::string& path);

} // namespace kib::cli
