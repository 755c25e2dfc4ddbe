#include "config/document_observer.h"

#include "foundation/app_state.h"

namespace kib {

DocumentObserver& TheDocumentObserver() {
    static NullDocumentObserver none; // holds no state
    auto* observer = dynamic_cast<DocumentObserver*>(App().documentObserver);
    return observer ? *observer : none;
}

} // namespace kib
