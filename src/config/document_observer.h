// What a document tells the program that shows it: one interface for every
// notification, installed in the application state with the host (the desktop
// application's main window; elsewhere nothing listens).
#pragma once

#include "foundation/host.h"

namespace kib {

class CKibDoc;

class DocumentObserver : public HostInterface {
  public:
    // The document was loaded or created: a window for it is opening.
    virtual void DocumentOpened(CKibDoc& doc) = 0;
    // What the document shows changed (its maps mode, a setting): its views are
    // redrawn with their background erased.
    virtual void DocumentChanged(CKibDoc& doc) = 0;
    // The document's modified flag changed: its window marks unsaved changes.
    virtual void DocumentModifiedChanged(CKibDoc& doc) = 0;
};

class NullDocumentObserver : public DocumentObserver {
  public:
    void DocumentOpened(CKibDoc&) override {}
    void DocumentChanged(CKibDoc&) override {}
    void DocumentModifiedChanged(CKibDoc&) override {}
};

} // namespace kib
