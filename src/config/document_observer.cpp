#include "config/document_observer.h"

#include "foundation/app_state.h"

namespace kib {

DocumentObserver& TheDocumentObserver() {
    return InstalledOr<DocumentObserver, NullDocumentObserver>(App().documentObserver);
}

} // namespace kib
