#include "map_input/map_export_read.h"

#include "config/kib_doc.h"
#include "foundation/content_digest.h"
#include "foundation/input_bytes.h"
#include "foundation/input_file.h"
#include "map_input/courses_xml.h"
#include "map_input/document_exports.h"

#include <cstddef>

namespace kib {

namespace {

// The largest export kept in memory; a larger one (far above any event's map)
// is read line by line each time.
constexpr std::size_t kMaxKeptExportBytes = std::size_t{256} << 20;

} // namespace

MapExportInput::MapExportInput() = default;

MapExportInput::~MapExportInput() = default;

bool MapExportInput::Open(CKibDoc& doc, const std::string& path) {
    kept_.reset();
    file_.reset();
    notRegular_ = false;
    if (!doc.mapExport || !StillAsRead(*doc.mapExport, path)) {
        auto read = std::make_shared<InputBytes>();
        switch (ReadWholeInput(path, kMaxKeptExportBytes, *read, reason_)) {
        case WholeRead::Read:
            doc.mapExport = std::move(read);
            break;
        case WholeRead::Failed:
            notRegular_ = !NonRegularKind(path).empty();
            return false;
        case WholeRead::TooLarge:
            file_ = std::make_unique<InputFile>();
            if (!file_->Open(path)) {
                reason_ = file_->Reason();
                notRegular_ = file_->NotRegular();
                return false;
            }
            return true;
        }
    }
    kept_ = std::make_unique<InputBytesStream>(doc.mapExport);
    return true;
}

ContentFacts InputContentFacts(CKibDoc& doc, const std::string& path, FileStamp& stamp) {
    stamp = 0;
    if (const std::shared_ptr<const CoursesFileData> courses = KeptCourses(doc, path)) {
        stamp = courses->stamp;
        return ContentFacts{courses->size, courses->digest};
    }
    if (!doc.mapExport || !StillAsRead(*doc.mapExport, path)) {
        auto read = std::make_shared<InputBytes>();
        std::string reason;
        if (ReadWholeInput(path, kMaxKeptExportBytes, *read, reason) != WholeRead::Read) {
            // Missing, unreadable or too large to keep: digested from the file itself
            // (a missing or unreadable one has no facts and is never taken as unchanged).
            return FileContentFacts(path);
        }
        doc.mapExport = std::move(read);
    }
    // A file that changed while it was read has no size and is read again next time.
    stamp = doc.mapExport->size >= 0 ? doc.mapExport->stamp : 0;
    return ContentFacts{doc.mapExport->size, DigestOf(doc.mapExport->bytes)};
}

std::istream& MapExportInput::Stream() {
    return kept_ ? kept_->Stream() : file_->Stream();
}

} // namespace kib
