// The recording host of the tests of the configuration and the layers above it:
// the host recorder of tests/support/host_recorder.h with a recording properties
// pane and document observer installed with it.
#pragma once

#include "config/document_observer.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/property_pane.h"
#include "foundation/app_state.h"
#include "support/host_recorder.h"

#include <string>
#include <utility>
#include <vector>

namespace kib::test {

class RecordingPropertyPane : public PropertyPane {
  public:
    void AttachDocument(CKibDoc* doc) override { attached = doc; }
    void ForgetOriginalValues() override { ++forgets; }
    void ShowValue(int itemId, const std::string& valueText) override {
        values.emplace_back(itemId, valueText);
    }
    void ShowStationRange(int first, int last) override { ranges.emplace_back(first, last); }
    void UpdateVisibility() override { ++visibilityUpdates; }
    void HideAll() override { ++hides; }

    CKibDoc* attached = nullptr;
    int forgets = 0;
    int visibilityUpdates = 0;
    int hides = 0;
    std::vector<std::pair<int, std::string>> values;
    std::vector<std::pair<int, int>> ranges;
};

class RecordingDocumentObserver : public DocumentObserver {
  public:
    void DocumentOpened(CKibDoc&) override { ++opened; }
    void DocumentChanged(CKibDoc&) override { ++changed; }
    void DocumentModifiedChanged(CKibDoc&) override { ++modifiedChanges; }
    int opened = 0;          // documents whose window opens
    int changed = 0;         // redraws asked for
    int modifiedChanges = 0; // changes of the modified flag
};

// The recording host with a recording properties pane and document observer,
// for tests of the configuration and every layer above it.
class RecordingHost : public HostRecorder {
  public:
    // Installs this host (with its pane and observer) into a fresh application state.
    void Install() { ResetAppState(this, &pane, &observer); }
    // Gives a document or a configuration the installed host, the application
    // log, and this host's pane and observer, as the programs give theirs.
    void Attach(CKibDoc& doc) {
        doc.UseServices(App().CurrentHost(), App().Log());
        doc.UseWindows(pane, observer);
    }
    void Attach(CKibCfg& cfg) {
        cfg.UseServices(App().CurrentHost(), App().Log());
        cfg.UsePane(pane);
    }

    RecordingPropertyPane pane;
    RecordingDocumentObserver observer;
};

} // namespace kib::test
