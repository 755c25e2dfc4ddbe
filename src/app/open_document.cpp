#include "app/documents.h"

#include "config/kib_doc.h"
#include "map_input/document_exports.h"

namespace kib {

bool LoadDocument(CKibDoc& doc, const std::string& path) {
    if (!doc.OnOpenDocument(path)) {
        return false;
    }
    ReadCourseList(doc);
    ReadMapZoom(doc);
    return true;
}

} // namespace kib
