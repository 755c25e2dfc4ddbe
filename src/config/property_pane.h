// The docked properties pane that edits a document's configuration, as the core
// sees it. The desktop application implements it; elsewhere nothing is shown.
#pragma once

#include "foundation/host.h"

#include <string>

namespace kib {

class CKibDoc;

class PropertyPane : public HostInterface {
  public:
    virtual void AttachDocument(CKibDoc* doc) = 0;
    virtual void ForgetOriginalValues() = 0;
    virtual void ShowValue(int itemId, const std::string& valueText) = 0;
    virtual void ShowStationRange(int first, int last) = 0;
    virtual void UpdateVisibility() = 0;
    virtual void HideAll() = 0;
};

class NullPropertyPane : public PropertyPane {
  public:
    void AttachDocument(CKibDoc*) override {}
    void ForgetOriginalValues() override {}
    void ShowValue(int, const std::string&) override {}
    void ShowStationRange(int, int) override {}
    void UpdateVisibility() override {}
    void HideAll() override {}
};

} // namespace kib
