// The recording host of the tests of the configuration and the layers above it:
// the host recorder of tests/support/host_recorder.h with a recording properties
// pane and main window installed with it.
#pragma once

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

class RecordingMainWindow : public MainWindow {
  public:
    void NewDocumentWindowOpening() override { ++newWindows; }
    void TabSwitched() override { ++tabSwitches; }
    int newWindows = 0;
    int tabSwitches = 0;
};

// The recording host with a recording properties pane and main window, for
// tests of the configuration and every layer above it.
class RecordingHost : public HostRecorder {
  public:
    // Installs this host (with its pane and main window) into a fresh application state.
    void Install() { ResetAppState(this, &pane, &window); }

    RecordingPropertyPane pane;
    RecordingMainWindow window;
};

} // namespace kib::test
