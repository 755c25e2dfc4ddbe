#include "app/documents.h"

#include "config/document_observer.h"
#include "config/kib_doc.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "map_input/document_exports.h"

namespace kib {

void AttachDocument(CKibDoc& doc) {
    AppState& app = App();
    doc.UseServices(app.CurrentHost(), app.Log());
    doc.UseWindows(InstalledOr<PropertyPane, NullPropertyPane>(app.propertyPane),
                   InstalledOr<DocumentObserver, NullDocumentObserver>(app.documentObserver));
}

bool LoadDocument(CKibDoc& doc, const std::string& path) {
    AttachDocument(doc);
    // What the load reports counts in the verdict of every command on the document.
    const LogScope load;
    const bool opened = doc.OnOpenDocument(path);
    App().lastDirectory = doc.GetDirectory();
    if (opened) {
        ReadCourseList(doc);
        ReadMapZoom(doc);
    }
    doc.loadVerdict = load.GetVerdict();
    return opened;
}

} // namespace kib
