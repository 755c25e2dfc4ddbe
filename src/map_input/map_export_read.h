// One read of a map export for every step of a command that needs it: the map
// zoom a document reads after its load and at the start of a Make command, and
// the station's map of the run. The document keeps the last export read while
// the file keeps its size and time; a changed file is read anew.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace kib {

class CKibDoc;
class InputBytesStream;
class InputFile;

// An open map export: the document's copy of it, or the file itself.
class MapExportInput {
  public:
    MapExportInput();
    ~MapExportInput();
    MapExportInput(const MapExportInput&) = delete;
    MapExportInput& operator=(const MapExportInput&) = delete;

    // False when the export cannot be read; Reason() says why and NotRegular()
    // whether something else than a regular file is at the path.
    bool Open(CKibDoc& doc, const std::string& path);
    std::istream& Stream();
    const std::string& Reason() const { return reason_; }
    bool NotRegular() const { return notRegular_; }

  private:
    std::unique_ptr<InputBytesStream> kept_;
    std::unique_ptr<InputFile> file_;
    std::string reason_;
    bool notRegular_ = false;
};

} // namespace kib
