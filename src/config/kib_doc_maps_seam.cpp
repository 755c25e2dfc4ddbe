// Stand-ins for the document's courses-file reading. The courses reader in
// src/map_input/ replaces them with the real ones (and this file goes away), which
// read the courses list with the map scale and the first station's map zoom.
#include "config/kib_doc.h"

namespace kib {

void CKibDoc::ReadCourseList() {}

void CKibDoc::ReadMapZoom() {}

} // namespace kib
